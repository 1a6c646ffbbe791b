# tessiq_bench: what calling through the DSP control costs. b_Median of 16 values and
# e_Uniform through the control's dispatch interface beside the direct export call (extra
# microseconds per call), and b_Smooth of 1,000,000 samples beside SmoothData (time ratio).
if(TARGET tessiq_core AND TARGET sigmora)
  add_executable(tessiq_bench tessiq_bench.cpp)
  target_link_libraries(tessiq_bench PRIVATE tessiq_core sigmora benchmark::benchmark)
endif()
