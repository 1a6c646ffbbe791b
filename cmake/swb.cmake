# swb_add_test(NAME name SOURCES ... LIBS ... [QT])
# Builds one GoogleTest program and registers its tests with CTest. Qt tests run offscreen.
# Every test program can use the helpers of testsupport/ (header only).
function(swb_add_test)
  cmake_parse_arguments(T "QT" "NAME" "SOURCES;LIBS" ${ARGN})
  if(NOT SWB_TESTS)
    return()
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  if(T_QT)
    # Qt suites share a main() that creates an offscreen QApplication.
    target_link_libraries(${T_NAME} PRIVATE swb_qt_test_main swb_testsupport ${T_LIBS})
  else()
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest GTest::gtest_main swb_testsupport ${T_LIBS})
  endif()
  set(env "")
  if(T_QT)
    # Qt keeps font and platform caches alive until exit; they are not leaks of ours.
    set(env "QT_QPA_PLATFORM=offscreen;ASAN_OPTIONS=detect_leaks=0")
  endif()
  # A test that waits on a window nobody answers must fail, not stall the run.
  gtest_discover_tests(${T_NAME} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "${env}" TIMEOUT 300
                       TEST_PREFIX "${T_NAME}.")
endfunction()
