# Helpers shared by every folder's CMakeLists.txt.

# vistrel_add_test(NAME SOURCES... LIBS ...)
# One GoogleTest executable, registered with CTest test by test.
# The caller's folder must have found GTest and included GoogleTest.
function(vistrel_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
