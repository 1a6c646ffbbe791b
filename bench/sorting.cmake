# sorting_bench: QuickSortFloats of the numerics library on 1,000,000 random floats with and
# without the index array, against std::sort of (value, index) pairs and of the floats.
add_executable(sorting_bench sorting_bench.cpp)
target_link_libraries(sorting_bench PRIVATE numora benchmark::benchmark)
