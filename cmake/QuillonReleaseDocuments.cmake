# The documents the packages carry besides the programs, each made from the one file that
# holds it, into ${QUILLON_PACKAGE_STAGE}:
#
#   CHANGELOG.md         changelog.gz (the Debian changelog) and the releases of the
#                        AppStream metadata; its newest release must be PROJECT_VERSION
#   LICENSE              copyright, the machine-readable Debian copyright file
#   res/description.txt  the package's long description, for Debian and AppStream alike
#   --help, --version    man/<program>.1.gz for each program in bin/, by help2man at build
#                        time, so a manual page cannot fall behind its program's options
#
# Needs QUILLON_MAINTAINER, QUILLON_APPSTREAM_ID, QUILLON_SUMMARY and QUILLON_BIN_PROGRAMS.

find_program(QUILLON_AWK awk REQUIRED)
find_program(QUILLON_GZIP gzip REQUIRED)
find_program(QUILLON_HELP2MAN help2man)

set(quillon_changelog ${PROJECT_SOURCE_DIR}/CHANGELOG.md)
set(quillon_changelog_reader ${PROJECT_SOURCE_DIR}/cmake/changelog.awk)
set(quillon_description_file ${PROJECT_SOURCE_DIR}/res/description.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${quillon_changelog}
             ${quillon_changelog_reader} ${PROJECT_SOURCE_DIR}/LICENSE ${quillon_description_file})

# What cmake/changelog.awk makes of CHANGELOG.md in `mode`; a CHANGELOG.md it refuses stops
# the configuration with its complaint.
function(quillon_read_changelog mode out)
  execute_process(
    COMMAND ${QUILLON_AWK} -v mode=${mode} -v package=quillon -v "maintainer=${QUILLON_MAINTAINER}"
            -f ${quillon_changelog_reader} ${quillon_changelog}
    OUTPUT_VARIABLE text ERROR_VARIABLE complaint RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${complaint}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

quillon_read_changelog(version quillon_changelog_version)
string(STRIP "${quillon_changelog_version}" quillon_changelog_version)
if(NOT quillon_changelog_version STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "CHANGELOG.md's newest release is ${quillon_changelog_version}, but the "
                      "project's version is ${PROJECT_VERSION}: describe the release in "
                      "CHANGELOG.md, or set the version in the top CMakeLists.txt")
endif()
quillon_read_changelog(epoch quillon_release_epoch)
string(STRIP "${quillon_release_epoch}" quillon_release_epoch)

quillon_read_changelog(debian quillon_debian_changelog)
file(WRITE ${QUILLON_PACKAGE_STAGE}/changelog "${quillon_debian_changelog}")
# -n: no name and no time stamp inside, so the same changelog always packs the same.
execute_process(COMMAND ${QUILLON_GZIP} -9nf ${QUILLON_PACKAGE_STAGE}/changelog
                COMMAND_ERROR_IS_FATAL ANY)

# The copyright file: the holder and the permission text of LICENSE, in the Debian layout
# (each line indented by one blank, an empty line as " .").
file(READ ${PROJECT_SOURCE_DIR}/LICENSE quillon_license)
string(FIND "${quillon_license}" "Permission is hereby granted" quillon_permission_start)
if(NOT quillon_license MATCHES "\nCopyright \\(c\\) ([^\n]+)\n" OR quillon_permission_start LESS 0)
  message(FATAL_ERROR "LICENSE: no \"Copyright (c) <year> <holder>\" line or no MIT permission text")
endif()
set(QUILLON_COPYRIGHT "${CMAKE_MATCH_1}")
string(SUBSTRING "${quillon_license}" ${quillon_permission_start} -1 quillon_license_body)
string(STRIP "${quillon_license_body}" quillon_license_body)
string(REGEX REPLACE "\n\n+" "\n.\n" quillon_license_body "${quillon_license_body}")
string(REPLACE "\n" "\n " QUILLON_LICENSE_BODY " ${quillon_license_body}")
configure_file(${PROJECT_SOURCE_DIR}/res/debian/copyright.in ${QUILLON_PACKAGE_STAGE}/copyright
               @ONLY)

# The long description: wrapped lines and empty lines between paragraphs for Debian, <p>
# paragraphs for AppStream.
file(READ ${quillon_description_file} QUILLON_DESCRIPTION)
string(STRIP "${QUILLON_DESCRIPTION}" QUILLON_DESCRIPTION)
string(REPLACE "&" "&amp;" quillon_paragraphs "${QUILLON_DESCRIPTION}")
string(REPLACE "<" "&lt;" quillon_paragraphs "${quillon_paragraphs}")
string(REPLACE ">" "&gt;" quillon_paragraphs "${quillon_paragraphs}")
string(REGEX REPLACE "\n\n+" "</p>@@\n@@<p>" quillon_paragraphs "${quillon_paragraphs}")
string(REPLACE "\n" " " quillon_paragraphs "${quillon_paragraphs}")
string(REPLACE "@@ @@" "\n    " quillon_paragraphs "${quillon_paragraphs}")
set(QUILLON_APPSTREAM_DESCRIPTION "    <p>${quillon_paragraphs}</p>")

quillon_read_changelog(appstream QUILLON_APPSTREAM_RELEASES)
string(REGEX REPLACE "\n$" "" QUILLON_APPSTREAM_RELEASES "${QUILLON_APPSTREAM_RELEASES}")
set(QUILLON_METAINFO ${QUILLON_PACKAGE_STAGE}/${QUILLON_APPSTREAM_ID}.metainfo.xml)
configure_file(${PROJECT_SOURCE_DIR}/res/quillon.metainfo.xml.in ${QUILLON_METAINFO} @ONLY)

# The manual pages, from each program's own --help and --version. help2man runs the built
# program, which answers both before it needs a display.
set(quillon_manual_titles_quillon "update the GPS firmware of a Yardmark KV6 or KV7 golf GPS")
set(quillon_manual_titles_quillon-demo "run the Quillon update wizard against a virtual Yardmark")
set(QUILLON_MAN_PAGES)
foreach(program ${QUILLON_BIN_PROGRAMS})
  # A cross-built program cannot be asked for its --help here.
  if(NOT TARGET ${program} OR CMAKE_CROSSCOMPILING)
    continue()
  endif()
  if(NOT QUILLON_HELP2MAN)
    message(WARNING "help2man not found (scripts/install-deps installs it): the packages will "
                    "have no manual pages, and scripts/check-package will fail")
    break()
  endif()
  set(page ${QUILLON_PACKAGE_STAGE}/man/${program}.1)
  set(include_file ${PROJECT_SOURCE_DIR}/res/man/${program}.h2m)
  add_custom_command(
    OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLON_PACKAGE_STAGE}/man
    # The page is dated by the release, not by the day it was built.
    COMMAND ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${quillon_release_epoch}
            ${QUILLON_HELP2MAN} --no-info --section=1 "--name=${quillon_manual_titles_${program}}"
            --include=${include_file} --output=${page} $<TARGET_FILE:${program}>
    COMMAND ${QUILLON_GZIP} -9nf ${page}
    DEPENDS ${program} ${include_file}
    COMMENT "Manual page for ${program}"
    VERBATIM)
  list(APPEND QUILLON_MAN_PAGES ${page}.gz)
endforeach()
# Part of every build, so that a build can be installed as it is.
add_custom_target(quillon_man_pages ALL DEPENDS ${QUILLON_MAN_PAGES})
