# Readers and interfaces of the programs and controls: the .sepu reader, the DataFile reader,
# the fraction scanner of sepuprep, the property bag's text form, and the dispatch entry of each
# control.
swb_add_fuzz(NAME propertybag SOURCE propertybag_fuzz.cpp LIBS automation)
if(TARGET wavedesk_core)
  swb_add_fuzz(NAME sepu SOURCE sepu_fuzz.cpp LIBS wavedesk_core)
  swb_add_fuzz(NAME sepuscan SOURCE sepuscan_fuzz.cpp LIBS wavedesk_core)
endif()
if(TARGET datafile)
  swb_add_fuzz(NAME datafile SOURCE datafile_fuzz.cpp LIBS datafile)
endif()
if(TARGET graphane_core)
  swb_add_fuzz(NAME graphane_dispatch SOURCE graphane_dispatch_fuzz.cpp LIBS graphane_core)
endif()
if(TARGET tessiq_core)
  swb_add_fuzz(NAME tessiq_dispatch SOURCE tessiq_dispatch_fuzz.cpp LIBS tessiq_core Qt6::Core)
  # The DSP control binds the libraries by name: from the program folder of the build.
  foreach(t fuzz_tessiq_dispatch fuzz_tessiq_dispatch_replay)
    if(TARGET ${t})
      set_target_properties(${t} PROPERTIES BUILD_RPATH "${CMAKE_BINARY_DIR}/bin")
      add_dependencies(${t} sigmora numora)
    endif()
  endforeach()
endif()
