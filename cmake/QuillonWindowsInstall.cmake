# The Windows program folder, flat: quillon.exe, Orbfix.dat, the firmware file Orbfix.dat
# names, the notices document, the licence and the third-party notices (as plain text, which
# every Windows opens). The program reads
# Orbfix.dat from its current folder and writes Orbfix.log beside itself, so this folder is
# always one the user can write.
#
# scripts/package-windows installs it into a stage and makes the setup program and the
# portable .zip from exactly what is there: a file installed here is in both, and the
# uninstaller removes it again.
if(NOT TARGET quillon)
  return()
endif()

set(QUILLON_PUBLISHER "Tolvane")

install(TARGETS quillon RUNTIME DESTINATION .)
install(FILES ${QUILLON_PACKAGE_STAGE}/Orbfix.dat ${QUILLON_RELEASE_FIRMWARE} DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/docs/notices.md DESTINATION . RENAME notices.txt)
# The program's licence, and those of the runtime linked into quillon.exe and of the setup
# program's own stub.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
install(FILES ${PROJECT_SOURCE_DIR}/docs/third-party-notices.md DESTINATION .
        RENAME third-party-notices.txt)

# Installing builds nothing by itself: scripts/package-windows builds quillon.exe first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# What the setup program says about itself (version, publisher, icon), from this project. The
# icon is the one quillon_windows_resources made for quillon.exe.
get_target_property(quillon_exe_build_dir quillon BINARY_DIR)
file(CONFIGURE OUTPUT ${QUILLON_PACKAGE_STAGE}/quillon-package.nsh
     CONTENT "!define QUILLON_VERSION \"${PROJECT_VERSION}\"
!define QUILLON_VERSION_QUAD \"${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0\"
!define QUILLON_PUBLISHER \"${QUILLON_PUBLISHER}\"
!define QUILLON_ICON \"${quillon_exe_build_dir}/resources/quillon.ico\"
")
