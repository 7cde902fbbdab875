# The same sources give the same programs, byte for byte, whatever folder they are built in and
# whenever: anyone can rebuild a published package from the commit it names and compare. The
# release and windows presets turn QUILLON_REPRODUCIBLE on; the package scripts take care of
# the time (SOURCE_DATE_EPOCH) and of the archives.
#
#   -ffile-prefix-map  no folder of the build machine in the debugging data, in assertion
#                      texts or in the build ID made from them: the sources are named from the
#                      top of the tree ("./link/serial_posix.cpp"), generated files from the
#                      top of the build folder ("build/...")
#   Windows            no link time in the program's header: its time stamp is 0
option(QUILLON_REPRODUCIBLE "Leave no build folder and no build time in the programs" OFF)
if(NOT QUILLON_REPRODUCIBLE)
  return()
endif()

# The build folder may lie inside the source tree: its map comes last, and so is tried first.
add_compile_options(-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.
                    -ffile-prefix-map=${PROJECT_BINARY_DIR}=build)
if(WIN32)
  add_link_options(LINKER:--no-insert-timestamp)
endif()
