# sepuprep_bench: sepuprep's analysis of the 16384-point sample trace (denoising through the DSP
# control, baseline, peak table) against the workbench's preprocessing alone, and the program run.
if(TARGET wavedesk_core)
  add_executable(sepuprep_bench ${CMAKE_CURRENT_SOURCE_DIR}/sepuprep_bench.cpp)
  target_link_libraries(sepuprep_bench PRIVATE wavedesk_core benchmark::benchmark)
  foreach(control tessiq sigmora sepuprep)
    if(TARGET ${control})
      add_dependencies(sepuprep_bench ${control})
    endif()
  endforeach()
endif()
