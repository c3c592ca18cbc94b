# SPDX-License-Identifier: GPL-3.0-or-later
# The files a distribution expects beside the programs, made at build time and installed with
# them: the manual pages dorvo(1) and dorvo-cli(1) from the programs' own --help (so they
# cannot drift from it), the copyright file and the changelog (from CHANGELOG.md) in the
# package's documentation folder, and the AppStream metadata for software centres.
#
# Include this file after packaging/install.cmake, whose package maintainer it names.

if(NOT TARGET dorvo OR NOT TARGET dorvo-cli)
    return()
endif()

find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(DORVO_HELP2MAN help2man REQUIRED)

set(DORVO_HOMEPAGE_URL "https://dorvo.example.invalid" CACHE STRING
    "Dorvo's home page, named in the AppStream metadata")
set(DORVO_SCREENSHOT_URL "${DORVO_HOMEPAGE_URL}/raw/main/docs" CACHE STRING
    "Address of the repository's docs/ folder, where the AppStream screenshots are")
set(DORVO_APPSTREAM_ID "invalid.example.dorvo")

set(_dorvo_packaging "${PROJECT_SOURCE_DIR}/packaging")
set(_dorvo_generated "${PROJECT_BINARY_DIR}/packaging")
file(MAKE_DIRECTORY "${_dorvo_generated}")

# Manual pages: help2man reads each program's --help, with every subcommand's.
set(_dorvo_manual_pages)
foreach(_dorvo_program dorvo dorvo-cli)
    if(_dorvo_program STREQUAL "dorvo")
        set(_dorvo_summary "slope stability against circular slip, the desktop program")
    else()
        set(_dorvo_summary "slope stability against circular slip, the command line")
    endif()
    set(_dorvo_page "${_dorvo_generated}/${_dorvo_program}.1")
    add_custom_command(
        OUTPUT "${_dorvo_page}.gz"
        COMMAND "${DORVO_HELP2MAN}" --no-info --section=1 "--name=${_dorvo_summary}"
                "--output=${_dorvo_page}"
                "'${Python3_EXECUTABLE}' '${_dorvo_packaging}/manual_help.py' '$<TARGET_FILE:${_dorvo_program}>'"
        # A command's subsection is titled by its name alone, without help2man's colon.
        COMMAND sed -i "s/^\\.SS \"\\(.*\\):\"$/.SS \"\\1\"/" "${_dorvo_page}"
        COMMAND gzip -9nf "${_dorvo_page}"
        DEPENDS ${_dorvo_program} "${_dorvo_packaging}/manual_help.py"
        COMMENT "Manual page ${_dorvo_program}(1)"
        VERBATIM)
    list(APPEND _dorvo_manual_pages "${_dorvo_page}.gz")
endforeach()

add_custom_command(
    OUTPUT "${_dorvo_generated}/changelog.gz"
    COMMAND "${Python3_EXECUTABLE}" "${_dorvo_packaging}/changelog.py" debian
            "${PROJECT_SOURCE_DIR}/CHANGELOG.md" --version "${PROJECT_VERSION}"
            --package "${CPACK_PACKAGE_NAME}" --maintainer "${CPACK_DEBIAN_PACKAGE_MAINTAINER}"
            -o "${_dorvo_generated}/changelog.gz"
    DEPENDS "${_dorvo_packaging}/changelog.py" "${PROJECT_SOURCE_DIR}/CHANGELOG.md"
    COMMENT "Debian changelog from CHANGELOG.md"
    VERBATIM)

set(_dorvo_metainfo "${_dorvo_generated}/${DORVO_APPSTREAM_ID}.metainfo.xml")
add_custom_command(
    OUTPUT "${_dorvo_metainfo}"
    COMMAND "${Python3_EXECUTABLE}" "${_dorvo_packaging}/changelog.py" metainfo
            "${PROJECT_SOURCE_DIR}/CHANGELOG.md" --version "${PROJECT_VERSION}"
            --template "${_dorvo_packaging}/dorvo.metainfo.xml.in"
            --define "DORVO_APPSTREAM_ID=${DORVO_APPSTREAM_ID}"
            --define "DORVO_HOMEPAGE_URL=${DORVO_HOMEPAGE_URL}"
            --define "DORVO_SCREENSHOT_URL=${DORVO_SCREENSHOT_URL}"
            -o "${_dorvo_metainfo}"
    DEPENDS "${_dorvo_packaging}/changelog.py" "${PROJECT_SOURCE_DIR}/CHANGELOG.md"
            "${_dorvo_packaging}/dorvo.metainfo.xml.in"
    COMMENT "AppStream metadata with the releases of CHANGELOG.md"
    VERBATIM)

add_custom_target(dorvo_package_files ALL
    DEPENDS ${_dorvo_manual_pages} "${_dorvo_generated}/changelog.gz" "${_dorvo_metainfo}")

install(FILES ${_dorvo_manual_pages} DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
install(FILES "${_dorvo_packaging}/copyright" "${_dorvo_generated}/changelog.gz"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME}")
install(FILES "${_dorvo_metainfo}" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
