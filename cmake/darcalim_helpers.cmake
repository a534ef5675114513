# darcalim_unit_test(<name> SOURCES <files...> LIBS <libraries...>)
# Builds one GoogleTest executable from test sources kept beside the code
# they test and registers its cases with CTest. Does nothing when the tests
# are switched off.
function(darcalim_unit_test name)
  if(NOT DARCALIM_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} darcalim_test_support GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()
