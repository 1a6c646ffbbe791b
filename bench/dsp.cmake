# dsp_bench: SGSmoother, SmoothData, SignalToLinearSys and FindMedian on 1,000,000 samples against
# a plain convolution, a direct-form loop and std::nth_element measured in the same run.
add_executable(dsp_bench dsp_bench.cpp)
target_link_libraries(dsp_bench PRIVATE sigmora benchmark::benchmark)
