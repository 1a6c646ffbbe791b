# numora_special_bench: every Fx export over 1,000,000 arguments beside the C++17 special math
# equivalent (ns per call). numora_transforms_bench: numora's FFT and DCT of 65536 points against
# the signal library's FFTCalc and FastDCT1D, both libraries linked into one program.
add_executable(numora_special_bench numora_special_bench.cpp)
target_link_libraries(numora_special_bench PRIVATE numora benchmark::benchmark)

add_executable(numora_transforms_bench numora_transforms_bench.cpp)
target_link_libraries(numora_transforms_bench PRIVATE numora sigmora benchmark::benchmark)
