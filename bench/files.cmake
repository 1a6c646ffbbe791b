# files_bench: ReadMDTFile / WriteMDTFile of 32 x 1,048,576 int16 samples against one read or
# write plus the conversion loop; ReadWAVFile of a 100 MB stereo WAV against libsndfile's
# sf_readf_float; HufCompress / HufExpand of 64 MiB against zlib level 1. libsndfile and zlib
# are linked by this program only.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SNDFILE REQUIRED IMPORTED_TARGET sndfile)
find_package(ZLIB REQUIRED)
add_executable(files_bench files_bench.cpp)
target_link_libraries(files_bench PRIVATE sigmora numora memblock benchmark::benchmark PkgConfig::SNDFILE ZLIB::ZLIB)
