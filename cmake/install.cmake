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

# Debian puts games in /usr/games (the package's section is games), so the game goes to
# games/ under the prefix; the other programs, the rater among them, to bin/.
set(QUILLMARK_INSTALL_GAMEDIR games)
# The server's configuration lives in /etc whatever the prefix, as a Debian package has it; an
# install for one user (a prefix in the home folder) sets another folder here.
set(QUILLMARK_INSTALL_SYSCONFDIR /etc CACHE PATH
    "Where quillmark-ladderd's configuration files are installed (absolute)")

# Where the installed game finds its engine component and the shipped skins, relative to the
# folder of its executable; cmake/gui.cmake compiles these into the game.
set(QUILLMARK_INSTALL_ENGINE_DIR "${CMAKE_INSTALL_LIBDIR}/quillmark")
set(QUILLMARK_INSTALL_SKIN_DIR "${CMAKE_INSTALL_DATADIR}/quillmark/skin")
set(game_dir "${CMAKE_INSTALL_PREFIX}/${QUILLMARK_INSTALL_GAMEDIR}")
file(RELATIVE_PATH QUILLMARK_INSTALLED_ENGINE_DIR
    "${game_dir}" "${CMAKE_INSTALL_FULL_LIBDIR}/quillmark")
file(RELATIVE_PATH QUILLMARK_INSTALLED_SKIN_DIR
    "${game_dir}" "${CMAKE_INSTALL_FULL_DATADIR}/quillmark/skin")
unset(game_dir)

# The data files that need the id or the version filled in, ready for installing and for the
# packaging tests (tests/packaging/). Debian wants manual pages and changelogs compressed with
# gzip at its strongest and without a name or time in the header (-9n), so that builds of one
# source give the same bytes; the uncompressed pages stay beside them for the checks.
set(QUILLMARK_PACKAGING_DIR "${PROJECT_BINARY_DIR}/packaging")
find_program(QUILLMARK_GZIP gzip REQUIRED)
function(quillmark_configure_gzipped template output)
    configure_file(${template} ${output} @ONLY)
    execute_process(COMMAND ${QUILLMARK_GZIP} -9n -c ${output} OUTPUT_FILE ${output}.gz
        RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "gzip could not compress ${output}")
    endif()
endfunction()
configure_file(${PROJECT_SOURCE_DIR}/packaging/quillmark.desktop.in
    ${QUILLMARK_PACKAGING_DIR}/${QUILLMARK_APP_ID}.desktop @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/quillmark.metainfo.xml.in
    ${QUILLMARK_PACKAGING_DIR}/${QUILLMARK_APP_ID}.metainfo.xml @ONLY)
foreach(page IN ITEMS quillmark.6 quillmark-ladderd.1 quillmark-rate.1)
    quillmark_configure_gzipped(${PROJECT_SOURCE_DIR}/packaging/man/${page}.in
        ${QUILLMARK_PACKAGING_DIR}/man/${page})
endforeach()
# A native package (its version has no Debian revision), so Debian names the one changelog
# changelog.gz, not changelog.Debian.gz; both packages carry it.
quillmark_configure_gzipped(${PROJECT_SOURCE_DIR}/packaging/changelog.in
    ${QUILLMARK_PACKAGING_DIR}/changelog)

# The sizes of the committed PNG icons (packaging/render-icons.sh renders them).
set(QUILLMARK_ICON_SIZES 16 32 48 64 128 256)

# The server's files under /etc, each a conffile of its package: dpkg keeps an operator's edits
# on upgrade and removes them only on purge. "source|destination|mode" triples, destination
# absolute, mode "private" for a file only root may read: the systemd units' environment file
# is where a PostgreSQL URL with its password goes.
set(deploy ${PROJECT_SOURCE_DIR}/deploy)
set(etc ${QUILLMARK_INSTALL_SYSCONFDIR})
set(QUILLMARK_LADDERD_CONFFILES
    "${deploy}/systemd/quillmark-ladderd.default|${etc}/default/quillmark-ladderd|private"
    "${deploy}/ladderd.conf|${etc}/quillmark/ladderd.conf|public")
set(conffiles "")
foreach(pair IN LISTS QUILLMARK_LADDERD_CONFFILES)
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 destination)
    list(GET pair 2 mode)
    # Missing, it would fail every install; left out, the packaging tests say what is missing.
    if(NOT EXISTS "${source}")
        message(WARNING "${source} is missing: quillmark-ladderd is packed without it")
        list(REMOVE_ITEM QUILLMARK_LADDERD_CONFFILES "${source}|${destination}|${mode}")
        continue()
    endif()
    string(APPEND conffiles "${destination}\n")
endforeach()
file(CONFIGURE OUTPUT ${QUILLMARK_PACKAGING_DIR}/ladderd/conffiles CONTENT "${conffiles}" @ONLY)
unset(deploy)
unset(etc)
unset(conffiles)

# The two packages are CPack components: "game" (the game, its engine, the rater and their
# data) and "ladderd" (the ladder server and what runs it). Every install rule names one, so
# nothing lands in a third package.
function(quillmark_install_rules)
    set(doc ${CMAKE_INSTALL_DATAROOTDIR}/doc)
    if(TARGET quillmark)
        install(TARGETS quillmark RUNTIME DESTINATION ${QUILLMARK_INSTALL_GAMEDIR} COMPONENT game)
        install(TARGETS quillmark_engine LIBRARY DESTINATION ${QUILLMARK_INSTALL_ENGINE_DIR}
            COMPONENT game)
        # The engine loads its curl module from its own folder.
        install(TARGETS quillmark_curl LIBRARY DESTINATION ${QUILLMARK_INSTALL_ENGINE_DIR}
            COMPONENT game)
        # Every skin folder, as the build copies them; the painter is a tool, not a skin.
        install(DIRECTORY ${PROJECT_SOURCE_DIR}/skins/ DESTINATION ${QUILLMARK_INSTALL_SKIN_DIR}
            COMPONENT game PATTERN painter EXCLUDE)

        install(FILES ${QUILLMARK_PACKAGING_DIR}/${QUILLMARK_APP_ID}.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT game)
        install(FILES ${QUILLMARK_PACKAGING_DIR}/${QUILLMARK_APP_ID}.metainfo.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT game)
        set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
        install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/quillmark.svg
            DESTINATION ${icons}/scalable/apps RENAME ${QUILLMARK_APP_ID}.svg COMPONENT game)
        foreach(size IN LISTS QUILLMARK_ICON_SIZES)
            install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/quillmark-${size}.png
                DESTINATION ${icons}/${size}x${size}/apps RENAME ${QUILLMARK_APP_ID}.png
                COMPONENT game)
        endforeach()
        install(FILES ${QUILLMARK_PACKAGING_DIR}/man/quillmark.6.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man6 COMPONENT game)
    endif()

    install(TARGETS quillmark-rate RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT game)
    install(FILES ${QUILLMARK_PACKAGING_DIR}/man/quillmark-rate.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT game)
    # Where Debian looks for them: named after the package.
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${QUILLMARK_PACKAGING_DIR}/changelog.gz
        DESTINATION ${doc}/quillmark COMPONENT game)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian/quillmark
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides COMPONENT game)

    if(TARGET quillmark-ladderd)
        install(TARGETS quillmark-ladderd RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
            COMPONENT ladderd)
        install(FILES ${QUILLMARK_PACKAGING_DIR}/man/quillmark-ladderd.1.gz
            DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT ladderd)
        # Where systemd looks for the units packages ship: lib/systemd/system under the prefix
        # (/usr/lib/systemd/system), not under the multiarch library folder.
        install(FILES ${PROJECT_SOURCE_DIR}/deploy/systemd/quillmark-ladderd@.service
                      ${PROJECT_SOURCE_DIR}/deploy/systemd/quillmark-ladder.target
            DESTINATION lib/systemd/system COMPONENT ladderd)
        foreach(pair IN LISTS QUILLMARK_LADDERD_CONFFILES)
            string(REPLACE "|" ";" pair "${pair}")
            list(GET pair 0 source)
            list(GET pair 1 destination)
            get_filename_component(folder "${destination}" DIRECTORY)
            get_filename_component(name "${destination}" NAME)
            list(GET pair 2 mode)
            set(permissions OWNER_READ OWNER_WRITE)
            if(mode STREQUAL "public")
                list(APPEND permissions GROUP_READ WORLD_READ)
            endif()
            install(FILES ${source} DESTINATION ${folder} RENAME ${name}
                PERMISSIONS ${permissions} COMPONENT ladderd)
        endforeach()
        # The nginx front is the operator's to adapt (server name, certificates, upstream
        # ports), so it comes as an example, not as a live site.
        install(DIRECTORY ${PROJECT_SOURCE_DIR}/deploy/nginx/
            DESTINATION ${doc}/quillmark-ladderd/examples/nginx COMPONENT ladderd
            FILES_MATCHING PATTERN "*.conf")
        install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
                      ${QUILLMARK_PACKAGING_DIR}/changelog.gz
            DESTINATION ${doc}/quillmark-ladderd COMPONENT ladderd)
        install(FILES ${PROJECT_SOURCE_DIR}/packaging/lintian/quillmark-ladderd
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides COMPONENT ladderd)
    endif()
endfunction()
cmake_language(DEFER CALL quillmark_install_rules)

# The Debian packages: `cpack -G DEB` in the build folder writes quillmark_<version>_<arch>.deb
# and quillmark-ladderd_<version>_<arch>.deb. No CPACK_PACKAGE_DESCRIPTION_SUMMARY: CPack would
# put that one line above both descriptions, and each package has its own first line.
set(CPACK_PACKAGE_NAME quillmark)
set(CPACK_PACKAGE_VENDOR "The Quillmark developers")
set(CPACK_PACKAGE_CONTACT "The Quillmark developers <developers@quillmark.example>")
set(CPACK_PACKAGE_HOMEPAGE_URL "${QUILLMARK_SITE}")
set(CPACK_GENERATOR DEB)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SOURCE quillmark)
# dpkg-shlibdeps runs on each package's own ELF files, so each depends on its own libraries
# alone: the game on Qt, libjpeg and (through the engine's curl module) libcurl, the server on
# SQLite, libsodium and libpqxx.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

set(CPACK_DEBIAN_GAME_PACKAGE_NAME quillmark)
set(CPACK_DEBIAN_GAME_PACKAGE_SECTION games)
# The engine component and its curl module are files of the package, so dpkg-shlibdeps scans
# them too, though nothing links to them (the game and the engine load them at run time). Qt's
# platform plugins (xcb, offscreen) come with libqt6gui6, which the game links to. What no
# binary shows: the help menu opens web pages through xdg-open.
set(CPACK_DEBIAN_GAME_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_GAME_DESCRIPTION
"Sudoku game with puzzles at three levels and online ladder games
Quillmark makes Sudoku puzzles at three levels, each with exactly one
solution, and lets you solve them with locked givens, a stopwatch, candidate
hints, pencil notes and undo. Type in and check grids of your own; save, load,
export and print puzzles; dress the window in skins; play timed online
challenges on a ladder server. quillmark-rate, included, rates puzzles on the
scale puzzle makers use. The ladder server itself is in quillmark-ladderd.")

set(CPACK_DEBIAN_LADDERD_PACKAGE_NAME quillmark-ladderd)
set(CPACK_DEBIAN_LADDERD_PACKAGE_SECTION net)
set(CPACK_DEBIAN_LADDERD_PACKAGE_SUGGESTS "nginx")
set(CPACK_DEBIAN_LADDERD_PACKAGE_CONTROL_EXTRA
    ${QUILLMARK_PACKAGING_DIR}/ladderd/conffiles
    ${PROJECT_SOURCE_DIR}/packaging/ladderd/postinst
    ${PROJECT_SOURCE_DIR}/packaging/ladderd/prerm
    ${PROJECT_SOURCE_DIR}/packaging/ladderd/postrm)
set(CPACK_DEBIAN_LADDERD_DESCRIPTION
"Online ladder server for the Quillmark Sudoku game
quillmark-ladderd serves the timed online challenges of the Quillmark game:
it hands out puzzles, times each game by its own clock, keeps the standings
and the players' accounts in SQLite or PostgreSQL, and administers them from
the command line. It comes with systemd units for one or more servers on
loopback, their settings in /etc, and an nginx front as an example.")
# Source packages leave out git and build folders; regular expressions, escaped once more
# for CPackConfig.cmake.
set(CPACK_SOURCE_IGNORE_FILES "/\\\\.git/" "/build/")
# After the install rules, so that CPack finds their components: one package each.
cmake_language(DEFER CALL include CPack)
