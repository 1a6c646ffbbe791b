# Signal file readers and Huffman expansion. Seeds in corpus/<name>/ come from files_seeds
# (fuzz/files_seeds.cpp), which writes small files through the library's own writers.
foreach(name mdt mdtcomp acq mdt10 wav xyp dispatch)
  swb_add_fuzz(NAME files_${name} SOURCE files_${name}_fuzz.cpp LIBS sigmora memblock)
endforeach()
swb_add_fuzz(NAME huffman SOURCE huffman_fuzz.cpp LIBS sigmora memblock mathcore)

if(SWB_TESTS AND NOT SWB_FUZZ)
  add_executable(files_seeds files_seeds.cpp)
  target_link_libraries(files_seeds PRIVATE sigmora memblock)
endif()
