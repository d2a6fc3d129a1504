# Installing Quillmark as a desktop application, and packing that install as a Debian package
# (`cpack -G DEB` in the build folder).
#
# Included before the game's targets exist, because cmake/gui.cmake compiles in the relative
# paths set here; the install rules themselves are deferred to the end of the top-level
# CMakeLists.txt, when every target is there.

# The engine component is private to the game: on a multiarch system it goes under the
# architecture's library folder (lib/x86_64-linux-gnu/quillmark/), also when installing into
# /usr/local, so the package and a plain install lay the game out alike. Chosen once, on the
# first configure, or over the plain "lib" a build folder configured before this file was
# there took from GNUInstallDirs; a folder given on the command line stays.
if(CMAKE_LIBRARY_ARCHITECTURE AND NOT QUILLMARK_LIBDIR_CHOSEN)
    if(NOT DEFINED CMAKE_INSTALL_LIBDIR OR (DEFINED _GNUInstallDirs_LAST_CMAKE_INSTALL_PREFIX
                                            AND CMAKE_INSTALL_LIBDIR STREQUAL "lib"))
        set(CMAKE_INSTALL_LIBDIR "lib/${CMAKE_LIBRARY_ARCHITECTURE}" CACHE PATH
            "Object code libraries (LIBDIR)" FORCE)
    endif()
    set(QUILLMARK_LIBDIR_CHOSEN ON CACHE INTERNAL "CMAKE_INSTALL_LIBDIR has had its default")
endif()
include(GNUInstallDirs)

# The name the desktop knows the game by: its desktop entry, metainfo and icon are named so.
set(QUILLMARK_APP_ID "example.quillmark.quillmark")
set(QUILLMARK_SITE "https://quillmark.example/")

# Where the installed game finds its engine component and the shipped skins, relative to the
# folder of its executable; cmake/gui.cmake compiles these into the game.
set(QUILLMARK_INSTALL_ENGINE_DIR "${CMAKE_INSTALL_LIBDIR}/quillmark")
set(QUILLMARK_INSTALL_SKIN_DIR "${CMAKE_INSTALL_DATADIR}/quillmark/skin")
file(RELATIVE_PATH QUILLMARK_INSTALLED_ENGINE_DIR
    "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_LIBDIR}/quillmark")
file(RELATIVE_PATH QUILLMARK_INSTALLED_SKIN_DIR
    "${CMAKE_INSTALL_FULL_BINDIR}" "${CMAKE_INSTALL_FULL_DATADIR}/quillmark/skin")

# The data files that need the id or the version filled in, ready for installing and for the
# packaging tests (tests/packaging/).
set(QUILLMARK_PACKAGING_DIR "${PROJECT_BINARY_DIR}/packaging")
configure_file(${PROJECT_SOURCE_DIR}/packaging/quillmark.desktop.in
    ${QUILLMARK_PACKAGING_DIR}/${QUILLMARK_APP_ID}.desktop @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/quillmark.metainfo.xml.in
    ${QUILLMARK_PACKAGING_DIR}/${QUILLMARK_APP_ID}.metainfo.xml @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/man/quillmark.6.in
    ${QUILLMARK_PACKAGING_DIR}/man/quillmark.6 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/man/quillmark-ladderd.1.in
    ${QUILLMARK_PACKAGING_DIR}/man/quillmark-ladderd.1 @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/man/quillmark-rate.1.in
    ${QUILLMARK_PACKAGING_DIR}/man/quillmark-rate.1 @ONLY)

# The sizes of the committed PNG icons (packaging/render-icons.sh renders them).
set(QUILLMARK_ICON_SIZES 16 32 48 64 128 256)

function(quillmark_install_rules)
    if(TARGET quillmark)
        install(TARGETS quillmark RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
        install(TARGETS quillmark_engine LIBRARY DESTINATION ${QUILLMARK_INSTALL_ENGINE_DIR})
        # The engine loads its curl module from its own folder.
        install(TARGETS quillmark_curl LIBRARY DESTINATION ${QUILLMARK_INSTALL_ENGINE_DIR})
        # Every skin folder, as the build copies them; the painter is a tool, not a skin.
        install(DIRECTORY ${PROJECT_SOURCE_DIR}/skins/ DESTINATION ${QUILLMARK_INSTALL_SKIN_DIR}
            PATTERN painter EXCLUDE)

        install(FILES ${QUILLMARK_PACKAGING_DIR}/${QUILLMARK_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
        install(FILES ${QUILLMARK_PACKAGING_DIR}/${QUILLMARK_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
        set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
        install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/quillmark.svg
            DESTINATION ${icons}/scalable/apps RENAME ${QUILLMARK_APP_ID}.svg)
        foreach(size IN LISTS QUILLMARK_ICON_SIZES)
            install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/quillmark-${size}.png
                DESTINATION ${icons}/${size}x${size}/apps RENAME ${QUILLMARK_APP_ID}.png)
        endforeach()
        install(FILES ${QUILLMARK_PACKAGING_DIR}/man/quillmark.6
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
    endif()

    if(TARGET quillmark-ladderd)
        install(TARGETS quillmark-ladderd RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
        install(FILES ${QUILLMARK_PACKAGING_DIR}/man/quillmark-ladderd.1
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()

    install(TARGETS quillmark-rate RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${QUILLMARK_PACKAGING_DIR}/man/quillmark-rate.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

    # Where Debian looks for it: named after the package.
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/quillmark)
endfunction()
cmake_language(DEFER CALL quillmark_install_rules)

# The Debian package: `cpack -G DEB` in the build folder writes quillmark_<version>_<arch>.deb.
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VENDOR "The Quillmark developers")
set(CPACK_PACKAGE_CONTACT "The Quillmark developers <developers@quillmark.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "${QUILLMARK_SITE}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sudoku game with puzzles at three levels and online ladder games")
set(CPACK_PACKAGE_DESCRIPTION
"Quillmark makes Sudoku puzzles at three levels, each with exactly one solution,
and lets you solve them with locked givens, a stopwatch, candidate hints, pencil
notes and undo. Type in and check grids of your own; save, load, export and print
puzzles; dress the window in skins; play timed online challenges on a ladder
server. The ladder server, quillmark-ladderd, is included, and quillmark-rate,
which rates puzzles on the scale puzzle makers use.")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps finds the libraries of every ELF file in the package, the engine component
# and its curl module among them: the game loads the one and the engine the other at run time,
# so nothing links to them, but they are files of the package all the same; libcurl is found
# through the curl module. Qt's platform plugins (xcb, offscreen) come with libqt6gui6, which the
# game links to. What no binary shows: the help menu opens web pages through xdg-open.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Source packages leave out git and build folders; regular expressions, escaped once more
# for CPackConfig.cmake.
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/")
include(CPack)
