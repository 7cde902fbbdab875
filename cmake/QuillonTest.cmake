# quillon_add_test(NAME <name> LABEL <label> SOURCES <files...> [LIBS <targets...>]
#                  [GUI] [TIMEOUT <seconds>] [SHARDS <n>])
# Registers one test executable with CTest under its label. GUI tests run on Qt's offscreen
# platform so they need no display; every test has a time limit so a hang fails instead of
# stalling the suite. Every test gets the shared test support (testsupport/).
#
# A GoogleTest program writes its results to test-results/<test>.json in the build folder
# (scripts/reliability-report reads them). SHARDS splits a long program into n CTest tests
# that each run every n-th of its cases (<name>_shard1 ...), so they can run side by side:
# the suite's long programs spend their time waiting on the device, not computing.
function(quillon_add_test)
  cmake_parse_arguments(T "GUI" "NAME;LABEL;TIMEOUT;SHARDS" "SOURCES;LIBS" ${ARGN})
  if(NOT T_NAME OR NOT T_LABEL OR NOT T_SOURCES)
    message(FATAL_ERROR "quillon_add_test needs NAME, LABEL and SOURCES")
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  if(NOT T_SHARDS OR T_GUI)
    set(T_SHARDS 1)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  quillon_use_test_support()
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} quillon_test_support)
  if(NOT T_GUI)
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest GTest::gtest_main)
  endif()
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  # tests_<label> builds every test of one label (scripts/reliability-report: tests_faults).
  if(NOT TARGET tests_${T_LABEL})
    add_custom_target(tests_${T_LABEL})
  endif()
  add_dependencies(tests_${T_LABEL} ${T_NAME})

  foreach(shard RANGE 1 ${T_SHARDS})
    set(test ${T_NAME})
    set(environment
        "QUILLON_SOURCE_DIR=${PROJECT_SOURCE_DIR};QUILLON_BINARY_DIR=${PROJECT_BINARY_DIR}")
    if(T_SHARDS GREATER 1)
      set(test ${T_NAME}_shard${shard})
      math(EXPR index "${shard} - 1")
      list(APPEND environment "GTEST_TOTAL_SHARDS=${T_SHARDS}" "GTEST_SHARD_INDEX=${index}")
    endif()
    if(T_GUI)
      add_test(NAME ${test} COMMAND ${T_NAME})
      list(APPEND environment "QT_QPA_PLATFORM=offscreen")
    else()
      add_test(NAME ${test} COMMAND ${T_NAME}
               --gtest_output=json:${PROJECT_BINARY_DIR}/test-results/${test}.json)
    endif()
    set_tests_properties(${test} PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT}
                                            ENVIRONMENT "${environment}")
  endforeach()
endfunction()

# Defines quillon_test_support (testsupport/) the first time a test, a fuzz target or a
# benchmark asks for it.
function(quillon_use_test_support)
  if(NOT TARGET quillon_test_support)
    add_subdirectory(${PROJECT_SOURCE_DIR}/testsupport ${PROJECT_BINARY_DIR}/testsupport)
  endif()
endfunction()
