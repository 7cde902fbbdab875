# quillon_add_test(NAME <name> LABEL <label> SOURCES <files...> [LIBS <targets...>]
#                  [GUI] [TIMEOUT <seconds>])
# Registers one test executable with CTest under its label. GUI tests run on Qt's offscreen
# platform so they need no display; every test has a time limit so a hang fails instead of
# stalling the suite.
function(quillon_add_test)
  cmake_parse_arguments(T "GUI" "NAME;LABEL;TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT T_NAME OR NOT T_LABEL OR NOT T_SOURCES)
    message(FATAL_ERROR "quillon_add_test needs NAME, LABEL and SOURCES")
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS})
  if(NOT T_GUI)
    find_package(GTest REQUIRED)
    target_link_libraries(${T_NAME} PRIVATE GTest::gtest GTest::gtest_main)
  endif()
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR})
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES LABELS ${T_LABEL} TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QUILLON_SOURCE_DIR=${PROJECT_SOURCE_DIR};QUILLON_BINARY_DIR=${PROJECT_BINARY_DIR}")
  if(T_GUI)
    set_property(TEST ${T_NAME} APPEND PROPERTY ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  endif()
endfunction()
