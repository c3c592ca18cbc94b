# SPDX-License-Identifier: GPL-3.0-or-later
# Install rules and the Debian package of Dorvo.
#
# Include this file at the end of the top-level CMakeLists.txt, after every add_subdirectory(),
# so that the targets `dorvo` (desktop program) and `dorvo-cli` already exist:
#
#     include(packaging/install.cmake)
#
# `cmake --install build --prefix ~/.local` installs for one user; `cpack` in the build folder
# makes dorvo_<version>_<arch>.deb.

include(GNUInstallDirs)

set(DORVO_SHARE_DIR "${CMAKE_INSTALL_DATADIR}/dorvo")

if(TARGET dorvo)
    install(TARGETS dorvo RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")

    # Desktop integration: menu entry, file type *.slw and the application icon.
    install(FILES "${PROJECT_SOURCE_DIR}/packaging/dorvo.desktop"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
    install(FILES "${PROJECT_SOURCE_DIR}/packaging/dorvo-mime.xml"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/mime/packages"
            RENAME dorvo.xml)
    install(FILES "${PROJECT_SOURCE_DIR}/resources/icons/dorvo.svg"
            DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")

    # The operating guide (code page 932, CR LF) and the formula document of the Help menu.
    install(FILES "${PROJECT_SOURCE_DIR}/resources/help/Help.txt"
                  "${PROJECT_SOURCE_DIR}/resources/help/HelpCalc.html"
            DESTINATION "${DORVO_SHARE_DIR}/help")
endif()

if(TARGET dorvo-cli)
    install(TARGETS dorvo-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
endif()

install(FILES "${PROJECT_SOURCE_DIR}/examples/embankment.slw"
        DESTINATION "${DORVO_SHARE_DIR}/examples")

# A plain `cmake --install` (no DESTDIR, not CPack's staging folder) refreshes the MIME and
# desktop databases so that *.slw opens with Dorvo at once. Packages leave this to dpkg's
# triggers. Missing tools are skipped.
option(DORVO_UPDATE_DESKTOP_DATABASES
       "Refresh the MIME and desktop databases after a direct install" ON)
if(TARGET dorvo AND DORVO_UPDATE_DESKTOP_DATABASES)
    install(CODE "set(_dorvo_datadir \"${CMAKE_INSTALL_DATADIR}\")")
    install(CODE [[
        if("$ENV{DESTDIR}" STREQUAL "" AND NOT CMAKE_INSTALL_PREFIX MATCHES "/_CPack_Packages/")
            if(IS_ABSOLUTE "${_dorvo_datadir}")
                set(_dorvo_share "${_dorvo_datadir}")
            else()
                set(_dorvo_share "${CMAKE_INSTALL_PREFIX}/${_dorvo_datadir}")
            endif()
            find_program(_dorvo_update_mime update-mime-database)
            if(_dorvo_update_mime)
                message(STATUS "Updating MIME database: ${_dorvo_share}/mime")
                execute_process(COMMAND "${_dorvo_update_mime}" "${_dorvo_share}/mime"
                                RESULT_VARIABLE _dorvo_result OUTPUT_QUIET ERROR_QUIET)
            endif()
            find_program(_dorvo_update_desktop update-desktop-database)
            if(_dorvo_update_desktop)
                message(STATUS "Updating desktop database: ${_dorvo_share}/applications")
                execute_process(COMMAND "${_dorvo_update_desktop}" "${_dorvo_share}/applications"
                                RESULT_VARIABLE _dorvo_result OUTPUT_QUIET ERROR_QUIET)
            endif()
        endif()
    ]])
endif()

# Debian package.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "dorvo")
set(CPACK_PACKAGE_VENDOR "Dorvo developers")
set(CPACK_PACKAGE_CONTACT "Dorvo developers <dorvo@example.invalid>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "slope stability against circular slip by the ordinary method of slices")
set(CPACK_PACKAGE_DESCRIPTION
    "Dorvo computes the factor of safety of an earth slope against circular slip
by moment equilibrium about the centre of each trial circle. The
cross-section is entered as vertical blocks with boundary lines and soil
layers (unit weights, friction angle, cohesion increasing with depth), with
concentrated loads, a distributed-load layer and a seismic coefficient. A
grid of centres and a range of radii are searched; every circle, the minimum
of each centre and the critical circle are reported, drawn to scale and
printed. The package holds the desktop program, the command-line tool
dorvo-cli, a Japanese operating guide and an example project.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Dorvo developers <dorvo@example.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION "science")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The Japanese faces of the figures and tables, the Qt SVG plugins that draw the icons and
# Qt's own translations, which put the standard buttons and dialogs into Japanese.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-ipafont-mincho, fonts-ipafont-gothic, libqt6svg6, qt6-translations-l10n")
# An input method for typing Japanese into the tables.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "ibus-mozc | fcitx5-mozc")

include(CPack)
