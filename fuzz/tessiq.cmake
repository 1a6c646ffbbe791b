# The DSP control's text matrix reader (c_ReadTXTInfo / c_ReadTXT) on arbitrary bytes.
if(TARGET tessiq_core)
  swb_add_fuzz(NAME tessiq_text SOURCE tessiq_text_fuzz.cpp LIBS tessiq_core)
endif()
