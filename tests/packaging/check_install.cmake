cmake_minimum_required(VERSION 3.25)
# Installs the build into a scratch root as the Debian packages lay it out (prefix /usr, the
# server's configuration in /etc, under DESTDIR=ROOT) and checks that every file the game, the
# ladder server and the rater need is there.
#   BUILD_DIR   the build folder
#   ROOT        the scratch root, emptied first
#   APP_ID      the desktop id
#   BINDIR, LIBDIR, DATADIR, MANDIR, DOCDIR   the GNUInstallDirs folders, relative
#   GAMEDIR     the game's folder, relative
#   SYSCONFDIR  the server's configuration folder, absolute (/etc)
#   ENGINE_DIR, SKIN_DIR   the engine's and the skins' folders relative to GAMEDIR, as the game
#                          was compiled with them
#   ICON_SIZES  the PNG icon sizes, separated by "|"
#   GAME, SERVER  whether the game and the ladder server were built
file(REMOVE_RECURSE "${ROOT}")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env "DESTDIR=${ROOT}" ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix /usr
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed (${result}):\n${output}")
endif()

set(usr "${ROOT}/usr")
set(faults "")
function(expect_file path)
    if(NOT EXISTS "${path}" OR IS_DIRECTORY "${path}")
        set(faults "${faults}\n  missing: ${path}" PARENT_SCOPE)
    else()
        file(SIZE "${path}" size)
        if(size EQUAL 0)
            set(faults "${faults}\n  empty: ${path}" PARENT_SCOPE)
        endif()
    endif()
endfunction()
# An ELF executable or shared object: the four magic bytes.
function(expect_elf path)
    expect_file("${path}")
    if(EXISTS "${path}")
        file(READ "${path}" magic LIMIT 4 HEX)
        if(NOT magic STREQUAL "7f454c46")
            set(faults "${faults}\n  not an ELF file: ${path}" PARENT_SCOPE)
        endif()
    endif()
    set(faults "${faults}" PARENT_SCOPE)
endfunction()

# Nothing outside the prefix but the server's configuration.
file(GLOB top RELATIVE "${ROOT}" "${ROOT}/*")
set(expected_top usr)
if(SERVER)
    string(REGEX REPLACE "^/([^/]+).*" "\\1" etc "${SYSCONFDIR}")
    set(expected_top ${etc} usr)
    list(SORT top)
endif()
if(NOT top STREQUAL expected_top)
    set(faults "${faults}\n  installed outside /usr: ${top}")
endif()

expect_elf("${usr}/${BINDIR}/quillmark-rate")
expect_file("${usr}/${MANDIR}/man1/quillmark-rate.1.gz")
expect_file("${usr}/${DOCDIR}/quillmark/copyright")
expect_file("${usr}/${DOCDIR}/quillmark/changelog.gz")

if(SERVER)
    expect_elf("${usr}/${BINDIR}/quillmark-ladderd")
    expect_file("${usr}/${MANDIR}/man1/quillmark-ladderd.1.gz")
    expect_file("${usr}/lib/systemd/system/quillmark-ladderd@.service")
    expect_file("${usr}/lib/systemd/system/quillmark-ladder.target")
    expect_file("${ROOT}${SYSCONFDIR}/default/quillmark-ladderd")
    expect_file("${ROOT}${SYSCONFDIR}/quillmark/ladderd.conf")
    expect_file("${usr}/${DOCDIR}/quillmark-ladderd/copyright")
    expect_file("${usr}/${DOCDIR}/quillmark-ladderd/changelog.gz")
    expect_file("${usr}/${DOCDIR}/quillmark-ladderd/examples/nginx/quillmark-ladder.conf")
endif()

if(GAME)
    set(bin "${usr}/${GAMEDIR}")
    expect_elf("${bin}/quillmark")
    expect_elf("${usr}/${LIBDIR}/quillmark/libquillmark_engine.so")
    # Where the game itself will look, from its own folder; the engine loads its curl module
    # from beside itself.
    expect_elf("${bin}/${ENGINE_DIR}/libquillmark_engine.so")
    expect_elf("${bin}/${ENGINE_DIR}/libquillmark_curl.so")

    foreach(skin IN ITEMS default forest night ocean)
        foreach(part IN ITEMS header.jpg header_left.jpg header_right.jpg colors.ini)
            expect_file("${usr}/${DATADIR}/quillmark/skin/${skin}/${part}")
            expect_file("${bin}/${SKIN_DIR}/${skin}/${part}")
        endforeach()
    endforeach()
    if(EXISTS "${usr}/${DATADIR}/quillmark/skin/painter")
        set(faults "${faults}\n  the skin painter was installed as a skin")
    endif()

    set(desktop "${usr}/${DATADIR}/applications/${APP_ID}.desktop")
    set(metainfo "${usr}/${DATADIR}/metainfo/${APP_ID}.metainfo.xml")
    expect_file("${desktop}")
    expect_file("${metainfo}")
    if(EXISTS "${desktop}")
        file(STRINGS "${desktop}" exec REGEX "^Exec=")
        file(STRINGS "${desktop}" icon REGEX "^Icon=")
        if(NOT exec STREQUAL "Exec=quillmark")
            set(faults "${faults}\n  the desktop entry starts '${exec}', not quillmark")
        endif()
        if(NOT icon STREQUAL "Icon=${APP_ID}")
            set(faults "${faults}\n  the desktop entry's icon is '${icon}', not ${APP_ID}")
        endif()
    endif()
    if(EXISTS "${metainfo}")
        file(READ "${metainfo}" text)
        if(NOT text MATCHES "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>")
            set(faults "${faults}\n  the metainfo does not launch ${APP_ID}.desktop")
        endif()
        if(NOT text MATCHES "<release version=\"${VERSION}\"")
            set(faults "${faults}\n  the metainfo has no release ${VERSION}")
        endif()
    endif()

    set(icons "${usr}/${DATADIR}/icons/hicolor")
    expect_file("${icons}/scalable/apps/${APP_ID}.svg")
    string(REPLACE "|" ";" sizes "${ICON_SIZES}")
    foreach(size IN LISTS sizes)
        set(png "${icons}/${size}x${size}/apps/${APP_ID}.png")
        expect_file("${png}")
        if(EXISTS "${png}")
            # A PNG's header chunk holds its width and height, 4 bytes each, from byte 16.
            file(READ "${png}" header LIMIT 24 HEX)
            string(SUBSTRING "${header}" 0 16 signature)
            string(SUBSTRING "${header}" 32 8 width)
            string(SUBSTRING "${header}" 40 8 height)
            math(EXPR width "0x${width}")
            math(EXPR height "0x${height}")
            if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT width EQUAL size
               OR NOT height EQUAL size)
                set(faults "${faults}\n  not a ${size}x${size} PNG: ${png} (${width}x${height})")
            endif()
        endif()
    endforeach()

    expect_file("${usr}/${MANDIR}/man6/quillmark.6.gz")
endif()

if(NOT faults STREQUAL "")
    file(GLOB_RECURSE installed RELATIVE "${ROOT}" "${ROOT}/*")
    list(JOIN installed "\n  " installed)
    message(FATAL_ERROR "The install into ${ROOT} is not what the package needs:${faults}\n"
        "Installed:\n  ${installed}")
endif()
message("Installed into ${ROOT}/usr")
