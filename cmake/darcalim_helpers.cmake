# One helper per kind of target, so that each folder's CMakeLists.txt is a
# short list of what it builds. Every target also gets the project's compile
# options (warnings, -ffp-contract=off, the sanitizers) from the top level.
include(GNUInstallDirs)

# darcalim_library(<name> SOURCES <files...> [LIBS <libraries...>])
# A static library. Its users include its headers from the source root
# ("driver/run_result.h") and link what it links.
function(darcalim_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_LIBS})
endfunction()

# darcalim_program(<name> SOURCES <files...> LIBS <libraries...>)
# A program that `cmake --install` puts in the binary folder: darcalim and
# its companion tools.
function(darcalim_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  install(TARGETS ${name} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

# darcalim_unit_test(<name> SOURCES <files...> LIBS <libraries...>
#                    [DEFINITIONS <NAME=VALUE...>])
# One GoogleTest executable, with the shared fixtures of tests/support, whose
# cases CTest runs. Does nothing when the tests are switched off.
function(darcalim_unit_test name)
  if(NOT DARCALIM_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;DEFINITIONS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} darcalim_test_support GTest::gtest GTest::gtest_main)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
endfunction()

# darcalim_command_test(<name> SOURCES <files...> RUNS <programs...>
#                       [LIBS <libraries...>] [DEFINITIONS <NAME=VALUE...>]
#                       [TIMEOUT <seconds>] [THREADS <counts...>])
# A GoogleTest executable that runs built programs as processes (the
# DEFINITIONS tell it where they are); the programs of RUNS are built first.
# TIMEOUT bounds each of its cases (CTest's default otherwise). With THREADS,
# every case runs once for each count, as Threads<count>/<case> with
# DARCALIM_THREADS set to the count. Does nothing when the tests are
# switched off.
function(darcalim_command_test name)
  if(NOT DARCALIM_TESTS)
    return()
  endif()
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;RUNS;LIBS;DEFINITIONS;THREADS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  if(ARG_RUNS)
    add_dependencies(${name} ${ARG_RUNS})
  endif()
  set(properties)
  if(ARG_TIMEOUT)
    list(APPEND properties TIMEOUT ${ARG_TIMEOUT})
  endif()
  if(NOT ARG_THREADS)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
    return()
  endif()
  foreach(threads ${ARG_THREADS})
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_PREFIX "Threads${threads}/"
                         PROPERTIES ${properties} ENVIRONMENT "DARCALIM_THREADS=${threads}")
  endforeach()
endfunction()

# darcalim_fuzz_target(<reader> LIBS <libraries...>)
# The fuzz target fuzz_<reader>.cpp of the current folder, which drives one
# input reader from bytes. In a test build, the program replay_<reader>
# replays its seed corpus corpus/<reader> as the test
# FuzzCorpusReplay.<reader>; with DARCALIM_FUZZ (clang), fuzz_<reader> is
# also built as a libFuzzer program.
function(darcalim_fuzz_target reader)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  if(DARCALIM_TESTS)
    add_executable(replay_${reader} fuzz_${reader}.cpp replay_main.cpp)
    target_include_directories(replay_${reader} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(replay_${reader} PRIVATE ${ARG_LIBS})
    add_test(NAME FuzzCorpusReplay.${reader}
             COMMAND replay_${reader} ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${reader})
  endif()
  if(DARCALIM_FUZZ)
    add_executable(fuzz_${reader} fuzz_${reader}.cpp)
    target_include_directories(fuzz_${reader} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(fuzz_${reader} PRIVATE ${ARG_LIBS})
    target_link_options(fuzz_${reader} PRIVATE -fsanitize=fuzzer)
  endif()
endfunction()

# darcalim_benchmark(<name> SOURCES <files...> LIBS <libraries...>
#                    [RUNS <programs...>] [DEFINITIONS <NAME=VALUE...>])
# A Google Benchmark program; the programs of RUNS, which it runs as
# processes, are built first.
function(darcalim_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;RUNS;DEFINITIONS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${name} PRIVATE ${ARG_DEFINITIONS})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark)
  if(ARG_RUNS)
    add_dependencies(${name} ${ARG_RUNS})
  endif()
endfunction()
