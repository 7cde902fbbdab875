# The fuzz targets and the checking code they share (independent readings, replay and
# scripted links, frame checks). Plain C++: the fuzz build instruments it for libFuzzer, and
# the test suite builds the same code with any compiler to replay the seed corpora.
set(QUILLON_FUZZ_TARGETS fuzz_image fuzz_orbfix fuzz_link_replies fuzz_uploader fuzz_log)

# Libraries a target needs beyond the shared checking code.
function(quillon_fuzz_target_libs name out)
  if(name STREQUAL "fuzz_orbfix")
    set(${out} quillon_pages PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

# The longest input each target is given: a firmware file needs room for chunks of several
# records; the other inputs are short.
function(quillon_fuzz_max_len name out)
  if(name STREQUAL "fuzz_image")
    set(${out} 12000 PARENT_SCOPE)
  else()
    set(${out} 4096 PARENT_SCOPE)
  endif()
endfunction()

quillon_use_test_support()
if(NOT TARGET quillon_fuzz_support)
  set(quillon_fuzz_dir ${PROJECT_SOURCE_DIR}/fuzz)
  add_library(quillon_fuzz_support STATIC
    ${quillon_fuzz_dir}/link_expectations.cpp
    ${quillon_fuzz_dir}/loader_frame_check.cpp
    ${quillon_fuzz_dir}/replay_serial_port.cpp
    ${quillon_fuzz_dir}/scratch_dir.cpp
    ${quillon_fuzz_dir}/scripted_boot_loader.cpp
    ${quillon_fuzz_dir}/srecord_oracle.cpp
    ${quillon_fuzz_dir}/test_images.cpp)
  target_include_directories(quillon_fuzz_support PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(quillon_fuzz_support PUBLIC quillon_link quillon_loader quillon_log
                                                    quillon_test_support)
endif()
