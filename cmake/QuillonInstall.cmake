# Install rules and packages.
#
# One relocatable tree serves both packages: the Debian package installs it under /usr, the
# .tar.gz holds it under a top folder of its own.
#
#   lib/quillon/      the program folder: quillon, its launcher quillon-run, Orbfix.dat, the
#                     firmware file Orbfix.dat names, quillon-fwcheck, and the demo
#                     (quillon-demo, yardmark-sim, yardmark-window) with the sample firmware
#                     built into it
#   bin/              quillon (the launcher) and quillon-demo, links into the program folder
#   share/applications/quillon.desktop, share/icons/hicolor/scalable/apps/quillon.svg
#   share/doc/quillon the user documentation
#
# The program reads Orbfix.dat from its current directory and writes Orbfix.log beside its
# executable, so it always runs from a folder it can write: the launcher starts it in the
# program folder when that is writable (an unpacked archive) and from a per-user copy when it
# is not (/usr/lib/quillon).

set(QUILLON_PROGRAM_DIR lib/quillon)
set(QUILLON_DOC_DIR share/doc/quillon)
set(QUILLON_RELEASE_FIRMWARE ${PROJECT_SOURCE_DIR}/res/sample/gps_firmware.mot)
set(QUILLON_MIN_APP_VERSION "1.0" CACHE STRING "Lowest Yardmark application version the release accepts")
set(QUILLON_MIN_BATTERY "30" CACHE STRING "Lowest battery level at which the release may update")

# The release firmware is the bundled sample, which installs the GPS version the virtual
# Yardmark reports once its flash holds that file. Read from the device's own defaults so the
# two cannot part.
file(STRINGS ${PROJECT_SOURCE_DIR}/sim/virtual_yardmark.h quillon_new_version_line
     REGEX "newGpsVersion = \"")
if(NOT quillon_new_version_line MATCHES "newGpsVersion = \"([^\"]+)\"")
  message(FATAL_ERROR "no default newGpsVersion in sim/virtual_yardmark.h")
endif()
set(QUILLON_TARGET_GPS_VERSION "${CMAKE_MATCH_1}")

get_filename_component(quillon_firmware_name ${QUILLON_RELEASE_FIRMWARE} NAME)
set(QUILLON_PACKAGE_STAGE ${PROJECT_BINARY_DIR}/package)
# Orbfix.dat: release tag, minimum application version, firmware file, the GPS version that
# file installs, minimum battery level.
file(CONFIGURE OUTPUT ${QUILLON_PACKAGE_STAGE}/Orbfix.dat
     CONTENT "Release 4\n${QUILLON_MIN_APP_VERSION}\n${quillon_firmware_name}\n${QUILLON_TARGET_GPS_VERSION}\n${QUILLON_MIN_BATTERY}\n")

file(MAKE_DIRECTORY ${QUILLON_PACKAGE_STAGE}/bin)
file(CREATE_LINK ../${QUILLON_PROGRAM_DIR}/quillon-run ${QUILLON_PACKAGE_STAGE}/bin/quillon SYMBOLIC)
file(CREATE_LINK ../${QUILLON_PROGRAM_DIR}/quillon-demo ${QUILLON_PACKAGE_STAGE}/bin/quillon-demo
     SYMBOLIC)

# The programs the packages hold: the one list. Each only when this build has it (no GUI, no
# demo on some builds). scripts/package builds them through quillon_packaged_programs, and
# scripts/check-package reads package/programs.txt to find every one in the package.
set(quillon_installed_programs)
foreach(program quillon quillon-demo yardmark-sim yardmark-window quillon-fwcheck)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${QUILLON_PROGRAM_DIR})
    list(APPEND quillon_installed_programs ${program})
  endif()
endforeach()
add_custom_target(quillon_packaged_programs)
if(quillon_installed_programs)
  add_dependencies(quillon_packaged_programs ${quillon_installed_programs})
endif()
list(JOIN quillon_installed_programs "\n" quillon_program_lines)
file(CONFIGURE OUTPUT ${QUILLON_PACKAGE_STAGE}/programs.txt CONTENT "${quillon_program_lines}\n")

install(PROGRAMS ${PROJECT_SOURCE_DIR}/res/quillon-run DESTINATION ${QUILLON_PROGRAM_DIR})
install(FILES ${QUILLON_PACKAGE_STAGE}/Orbfix.dat ${QUILLON_RELEASE_FIRMWARE}
        DESTINATION ${QUILLON_PROGRAM_DIR})
if(quillon IN_LIST quillon_installed_programs)
  install(FILES ${QUILLON_PACKAGE_STAGE}/bin/quillon DESTINATION bin)
endif()
if(quillon-demo IN_LIST quillon_installed_programs)
  install(FILES ${QUILLON_PACKAGE_STAGE}/bin/quillon-demo DESTINATION bin)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/res/quillon.desktop DESTINATION share/applications)
install(FILES ${PROJECT_SOURCE_DIR}/res/artwork/app_icon_128.svg
        DESTINATION share/icons/hicolor/scalable/apps RENAME quillon.svg)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/notices.md
              ${PROJECT_SOURCE_DIR}/docs/virtual-yardmark.md
        DESTINATION ${QUILLON_DOC_DIR})

# Installing (and so packaging) builds nothing by itself: scripts/package builds the programs
# the packages hold, without the whole test suite.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# Packages: scripts/package builds them, scripts/check-package proves the .deb.
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "Tolvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "GPS firmware update wizard for the Yardmark KV6 and KV7 golf GPS")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillon updates the firmware of the GPS receiver chip inside the Yardmark handheld golf GPS (models KV6 and KV7) over the device's serial cable. A wizard finds the device, checks its battery and versions, loads the new firmware through the GPS chip's boot loader and verifies the new version after a power cycle. The package also holds quillon-demo, the wizard against a virtual Yardmark, and yardmark-sim, the virtual Yardmark for support staff.")
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/")

set(QUILLON_MAINTAINER "Tolvane support <support@tolvane.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLON_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Qt and the C++ runtime come from the system; dpkg-shlibdeps names the packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
