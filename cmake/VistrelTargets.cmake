# Helpers shared by every folder's CMakeLists.txt.

# vistrel_add_test(NAME SOURCES... LIBS ...)
# One GoogleTest executable, registered with CTest test by test. A
# cross-built program cannot be run at build time to list its tests, so there
# it is one CTest entry, run through CMAKE_CROSSCOMPILING_EMULATOR (wine).
# The caller's folder must have found GTest and included GoogleTest.
function(vistrel_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
