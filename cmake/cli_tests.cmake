# Every program and tool answers --help and refuses unknown options (testsupport/cli).
if(SWB_TESTS)
  foreach(program wavedesk datlook datgen sepuprep sepugen sigdraw)
    if(TARGET ${program})
      add_test(NAME cli.${program}
               COMMAND ${CMAKE_SOURCE_DIR}/testsupport/cli/check-options.sh $<TARGET_FILE:${program}>)
      set_tests_properties(cli.${program} PROPERTIES TIMEOUT 60
                           ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
    endif()
  endforeach()
  # Without a display datlook says so in one line and ends with status 1 (Qt would abort).
  if(TARGET datlook)
    add_test(NAME cli.datlook_no_display
             COMMAND env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM $<TARGET_FILE:datlook>)
    set_tests_properties(cli.datlook_no_display PROPERTIES TIMEOUT 60
      PASS_REGULAR_EXPRESSION "datlook: no display" ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
  endif()
endif()

# Installing into a temporary prefix gives libraries other projects can find and link, and
# programs that find their controls.
if(SWB_TESTS AND TARGET wavedesk)
  set(swb_consumer_flags "")
  if(SWB_SANITIZE)
    set(swb_consumer_flags "-fsanitize=address,undefined -fno-sanitize=vptr")
  endif()
  add_test(NAME install.consumers
           COMMAND ${CMAKE_SOURCE_DIR}/testsupport/install/run-install-test.sh ${CMAKE_BINARY_DIR}
                   "${swb_consumer_flags}")
  set_tests_properties(install.consumers PROPERTIES TIMEOUT 300
                       ENVIRONMENT "ASAN_OPTIONS=detect_leaks=0")
endif()
