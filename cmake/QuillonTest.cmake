# quillon_add_test(NAME <name> LABEL <label> SOURCES <files...> [LIBS <targets...>]
#                  [GUI] [TIMEOUT <seconds>])
# Registers one test executable with CTest under its label. GUI tests run on Qt's offscreen
# platform so they need no display; every test has a time limit so a hang fails instead of
# stalling the suite. Every test gets the shared test support (tests/support).
function(quillon_add_test)
  cmake_parse_arguments(T "GUI" "NAME;LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_NAME OR NOT T_LABEL OR NOT T_SOURCES)
    message(FATAL_ERROR "quillon_add_test needs NAME, LABEL and SOURCES")
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  quillon_use_test_support()
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} quillon_test_support)
  if(NOT T_GUI)
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest GTest::gtest_main)
  endif()
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  # tests_<label> builds every test of one label (scripts/reliability-report: tests_faults).
  if(NOT TARGET tests_${T_LABEL})
    add_custom_target(tests_${T_LABEL})
  endif()
  add_dependencies(tests_${T_LABEL} ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QUILLON_SOURCE_DIR=${PROJECT_SOURCE_DIR};QUILLON_BINARY_DIR=${PROJECT_BINARY_DIR}")
  if(T_GUI)
    set_property(TEST ${T_NAME} APPEND PROPERTY ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()

# Defines quillon_test_support (tests/support) the first time a test, a fuzz target or a
# benchmark asks for it.
function(quillon_use_test_support)
  if(NOT TARGET quillon_test_support)
    add_subdirectory(${PROJECT_SOURCE_DIR}/tests/support ${PROJECT_BINARY_DIR}/tests/support)
  endif()
endfunction()
