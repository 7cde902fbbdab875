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
#   share/metainfo/   the AppStream metadata software centres list the program by
#   share/man/man1/   the manual pages of the programs in bin/
#   share/doc/quillon the user documentation, the licence, the third-party notices, the
#                     Debian copyright file and changelog
#
# The program reads Orbfix.dat from its current directory and writes Orbfix.log beside its
# executable, so it always runs from a folder it can write: the launcher starts it in the
# program folder when that is writable (an unpacked archive) and from a per-user copy when it
# is not (/usr/lib/quillon).

set(QUILLON_PROGRAM_DIR lib/quillon)
set(QUILLON_DOC_DIR share/doc/quillon)
# The commands in bin/: each a link into the program folder, each with a manual page.
set(QUILLON_BIN_PROGRAMS quillon quillon-demo)
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

# Who and what the packages are: CPack's fields below, and the documents made for the packages
# (QuillonReleaseDocuments). scripts/package builds the packages, scripts/check-package proves
# the .deb.
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VENDOR "Tolvane")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "GPS firmware update wizard for the Yardmark KV6 and KV7 golf GPS")
set(QUILLON_MAINTAINER "Tolvane support <support@tolvane.example>"
    CACHE STRING "Maintainer field of the Debian package")
# Reverse domain name of the maintainer's address, as software centres name the program.
set(QUILLON_APPSTREAM_ID "example.tolvane.quillon"
    CACHE STRING "AppStream component id (share/metainfo/<id>.metainfo.xml)")
set(QUILLON_SUMMARY "${CPACK_PACKAGE_DESCRIPTION_SUMMARY}")
include(QuillonReleaseDocuments)

# Windows has its own flat program folder and its own packages (scripts/package-windows).
if(WIN32)
  include(QuillonWindowsInstall)
  return()
endif()

# The programs the packages hold: the one list. Each only when this build has it (no GUI, no
# demo on some builds). scripts/package builds them, and the documents made from them,
# through quillon_package_contents; scripts/check-package reads package/programs.txt to find
# every one in the package.
set(quillon_installed_programs)
foreach(program quillon quillon-demo yardmark-sim yardmark-window quillon-fwcheck)
  if(TARGET ${program})
    install(TARGETS ${program} RUNTIME DESTINATION ${QUILLON_PROGRAM_DIR})
    list(APPEND quillon_installed_programs ${program})
  endif()
endforeach()
add_custom_target(quillon_package_contents)
add_dependencies(quillon_package_contents quillon_man_pages)
if(quillon_installed_programs)
  add_dependencies(quillon_package_contents ${quillon_installed_programs})
endif()
list(JOIN quillon_installed_programs "\n" quillon_program_lines)
file(CONFIGURE OUTPUT ${QUILLON_PACKAGE_STAGE}/programs.txt CONTENT "${quillon_program_lines}\n")

install(PROGRAMS ${PROJECT_SOURCE_DIR}/res/quillon-run DESTINATION ${QUILLON_PROGRAM_DIR})
install(FILES ${QUILLON_PACKAGE_STAGE}/Orbfix.dat ${QUILLON_RELEASE_FIRMWARE}
        DESTINATION ${QUILLON_PROGRAM_DIR})
# bin/quillon leads to the launcher, bin/quillon-demo to the demo itself.
file(MAKE_DIRECTORY ${QUILLON_PACKAGE_STAGE}/bin)
foreach(program ${QUILLON_BIN_PROGRAMS})
  if(program IN_LIST quillon_installed_programs)
    set(target_file ${program})
    if(program STREQUAL quillon)
      set(target_file quillon-run)
    endif()
    file(CREATE_LINK ../${QUILLON_PROGRAM_DIR}/${target_file} ${QUILLON_PACKAGE_STAGE}/bin/${program}
         SYMBOLIC)
    install(FILES ${QUILLON_PACKAGE_STAGE}/bin/${program} DESTINATION bin)
  endif()
endforeach()
if(QUILLON_MAN_PAGES)
  install(FILES ${QUILLON_MAN_PAGES} DESTINATION share/man/man1)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/res/quillon.desktop DESTINATION share/applications)
# What lintian reports that is not so, each with its reason (scripts/check-package).
install(FILES ${PROJECT_SOURCE_DIR}/res/debian/lintian-overrides DESTINATION share/lintian/overrides
        RENAME quillon)
install(FILES ${QUILLON_METAINFO} DESTINATION share/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/res/artwork/app_icon_128.svg
        DESTINATION share/icons/hicolor/scalable/apps RENAME quillon.svg)
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/docs/notices.md
              ${PROJECT_SOURCE_DIR}/docs/virtual-yardmark.md ${PROJECT_SOURCE_DIR}/LICENSE
              ${PROJECT_SOURCE_DIR}/docs/third-party-notices.md
              ${QUILLON_PACKAGE_STAGE}/copyright ${QUILLON_PACKAGE_STAGE}/changelog.gz
        DESTINATION ${QUILLON_DOC_DIR})

# Installing (and so packaging) builds nothing by itself: scripts/package builds the programs
# the packages hold, without the whole test suite.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# The packages themselves.
set(CPACK_PACKAGE_DESCRIPTION "${QUILLON_DESCRIPTION}")
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build/;/\\\\.git/")

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${QUILLON_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "${QUILLON_DESCRIPTION}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Qt and the C++ runtime come from the system; dpkg-shlibdeps names the packages.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's SVG icon engine draws the program's icon and is loaded as a plugin, which no library
# pulls in: Debian 12's libqt6svg6 (Qt 6.4) holds it, Debian 13 ships it as qt6-svg-plugins.
# Either way one package built on Debian 12 installs it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-svg-plugins | libqt6svg6 (<< 6.5)")

include(CPack)
