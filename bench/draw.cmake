# draw_bench: ContourMatrix, MeshMatrix (hidden lines, both directions; and without hidden lines)
# and MatPicturize of a 512 x 512 sum of Gaussians onto a 1000 x 800 memory surface; the reference
# measured in the same run is clearing that surface (one write of every pixel).
add_executable(draw_bench draw_bench.cpp)
target_link_libraries(draw_bench PRIVATE sigmora benchmark::benchmark)
