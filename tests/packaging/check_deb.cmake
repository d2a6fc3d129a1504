cmake_minimum_required(VERSION 3.25)
# Packs the build as its Debian packages into a scratch folder and checks each: its control
# fields, that its Depends holds its own libraries and none of the other package's (found by
# dpkg-shlibdeps; the engine component and its curl module are loaded at run time, so only
# scanning them as files of the package finds theirs), that it holds its own files and none of
# the other's, and the server's conffiles.
#   CPACK, DPKG_DEB  the tools' paths
#   BUILD_DIR        the build folder, holding CPackConfig.cmake
#   OUT              the scratch folder, emptied first; the packages stay there for the tests
#                    that install them and run lintian on them
#   VERSION          the project's version
#   GAME, SERVER     whether the game and the ladder server were built
#   GAMEDIR, LIBDIR  the install folders of the game and of the engine, relative to /usr
if(NOT DPKG_DEB OR DPKG_DEB MATCHES "-NOTFOUND$")
    message(FATAL_ERROR "dpkg-deb is missing: install the Debian package dpkg")
endif()
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(
    COMMAND "${CPACK}" -G DEB --config "${BUILD_DIR}/CPackConfig.cmake" -B "${OUT}"
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cpack failed (${result}):\n${output}")
endif()

set(packages quillmark)
if(SERVER)
    list(APPEND packages quillmark-ladderd)
endif()
file(GLOB debs RELATIVE "${OUT}" "${OUT}/*.deb")
set(expected_debs "")
foreach(package IN LISTS packages)
    list(APPEND expected_debs "${package}_${VERSION}_[a-z0-9]+\\.deb")
endforeach()
list(JOIN expected_debs "|" pattern)
list(FILTER debs EXCLUDE REGEX "^(${pattern})$")
list(LENGTH packages wanted)
file(GLOB all_debs "${OUT}/*.deb")
list(LENGTH all_debs count)
if(debs OR NOT count EQUAL wanted)
    message(FATAL_ERROR "Expected ${packages} as <name>_${VERSION}_<arch>.deb in ${OUT}, found: "
        "${all_debs}\n${output}")
endif()

# What each package must hold and must not. Paths are those of `dpkg-deb --contents`, without
# the leading "."; a forbidden entry is a regular expression.
set(quillmark_section games)
set(quillmark_needs libc6 libstdc++6)
set(quillmark_files /usr/bin/quillmark-rate /usr/share/man/man1/quillmark-rate.1.gz
    /usr/share/doc/quillmark/copyright /usr/share/doc/quillmark/changelog.gz
    /usr/share/lintian/overrides/quillmark)
if(GAME)
    # libcurl is linked by the engine's curl module alone.
    list(APPEND quillmark_needs
        libqt6gui6 libqt6widgets6 libqt6printsupport6 libjpeg62-turbo libcurl4)
    list(APPEND quillmark_files /usr/${GAMEDIR}/quillmark
        /usr/${LIBDIR}/quillmark/libquillmark_engine.so
        /usr/${LIBDIR}/quillmark/libquillmark_curl.so
        /usr/share/quillmark/skin/default/colors.ini /usr/share/man/man6/quillmark.6.gz
        /usr/share/applications/example.quillmark.quillmark.desktop
        /usr/share/metainfo/example.quillmark.quillmark.metainfo.xml)
endif()
set(quillmark_forbidden_depends "^libpqxx" "^libsodium" "^libsqlite3")
set(quillmark_forbidden_files "ladder" "/skin/painter" "^/etc/")

set(quillmark-ladderd_section net)
set(quillmark-ladderd_needs libc6 libstdc++6 libsqlite3-0 libsodium23 libpqxx-6.4)
set(quillmark-ladderd_files /usr/bin/quillmark-ladderd /usr/share/man/man1/quillmark-ladderd.1.gz
    /usr/lib/systemd/system/quillmark-ladderd@.service
    /usr/lib/systemd/system/quillmark-ladder.target
    /etc/default/quillmark-ladderd /etc/quillmark/ladderd.conf
    /usr/share/doc/quillmark-ladderd/examples/nginx/quillmark-ladder.conf
    /usr/share/doc/quillmark-ladderd/examples/nginx/quillmark-front.conf
    /usr/share/doc/quillmark-ladderd/copyright /usr/share/doc/quillmark-ladderd/changelog.gz)
set(quillmark-ladderd_forbidden_depends "^libqt" "^libcurl" "^libjpeg" "^xdg-utils")
set(quillmark-ladderd_forbidden_files "/games/" "/share/quillmark/" "libquillmark" "quillmark-rate"
    "/applications/" "/icons/" "/metainfo/" "/doc/quillmark/")
set(quillmark-ladderd_conffiles /etc/default/quillmark-ladderd /etc/quillmark/ladderd.conf)
# Where a PostgreSQL URL with its password goes: root's alone.
set(quillmark-ladderd_modes "/etc/default/quillmark-ladderd|-rw-------")

set(faults "")
foreach(package IN LISTS packages)
    file(GLOB deb "${OUT}/${package}_${VERSION}_*.deb")
    execute_process(COMMAND "${DPKG_DEB}" --field "${deb}" Package Version Section Depends
                            Installed-Size Homepage Maintainer Source
        RESULT_VARIABLE result OUTPUT_VARIABLE fields ERROR_VARIABLE errors)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "dpkg-deb cannot read ${deb}: ${errors}")
    endif()
    message("${fields}")
    foreach(expected IN ITEMS "Package: ${package}\n" "Version: ${VERSION}\n"
                              "Section: ${${package}_section}\n" "Source: quillmark\n"
                              "Homepage: https://quillmark.example/\n" "Maintainer: ")
        string(FIND "${fields}" "${expected}" at)
        if(at EQUAL -1)
            string(STRIP "${expected}" expected)
            string(APPEND faults "\n  ${package}: no '${expected}'")
        endif()
    endforeach()

    # "Depends: a (>= 1), b | c" as the list of package names a;b;c.
    string(REGEX MATCH "Depends: [^\n]*" depends "${fields}")
    string(REGEX REPLACE "^Depends: " "" depends "${depends}")
    string(REGEX REPLACE " *\\([^)]*\\)" "" depends "${depends}")
    string(REGEX REPLACE " *[,|] *" ";" depends "${depends}")
    foreach(needed IN LISTS ${package}_needs)
        if(NOT needed IN_LIST depends)
            string(APPEND faults "\n  ${package}: Depends lacks ${needed}")
        endif()
    endforeach()
    foreach(forbidden IN LISTS ${package}_forbidden_depends)
        set(matches ${depends})
        list(FILTER matches INCLUDE REGEX "${forbidden}")
        if(matches)
            string(APPEND faults "\n  ${package}: depends on the other package's ${matches}")
        endif()
    endforeach()

    # The paths alone: the last field of each line of `dpkg-deb --contents`, "./" cut to "/".
    execute_process(COMMAND "${DPKG_DEB}" --contents "${deb}" OUTPUT_VARIABLE listing)
    foreach(pair IN LISTS ${package}_modes)
        string(REPLACE "|" ";" pair "${pair}")
        list(GET pair 0 path)
        list(GET pair 1 mode)
        if(NOT listing MATCHES "(^|\n)${mode} [^\n]* \.${path}\n")
            string(APPEND faults "\n  ${package}: ${path} is not ${mode}")
        endif()
    endforeach()
    string(REGEX REPLACE "[^\n]* \\./" "/" listing "${listing}")
    string(REGEX REPLACE "\n$" "" listing "${listing}")
    string(REPLACE "\n" ";" paths "${listing}")
    foreach(path IN LISTS ${package}_files)
        if(NOT path IN_LIST paths)
            string(APPEND faults "\n  ${package}: lacks ${path}")
        endif()
    endforeach()
    foreach(forbidden IN LISTS ${package}_forbidden_files)
        set(matches ${paths})
        list(FILTER matches INCLUDE REGEX "${forbidden}")
        if(matches)
            string(APPEND faults "\n  ${package}: holds what is not its own: ${matches}")
        endif()
    endforeach()

    # dpkg keeps an operator's edits of a conffile, and removes it only on purge.
    execute_process(COMMAND "${DPKG_DEB}" --info "${deb}" conffiles
        RESULT_VARIABLE result OUTPUT_VARIABLE conffiles ERROR_QUIET)
    if(NOT result EQUAL 0)
        set(conffiles "")
    endif()
    string(STRIP "${conffiles}" conffiles)
    string(REPLACE "\n" ";" conffiles "${conffiles}")
    if(NOT "${conffiles}" STREQUAL "${${package}_conffiles}")
        string(APPEND faults "\n  ${package}: conffiles are '${conffiles}', not "
                             "'${${package}_conffiles}'")
    endif()
endforeach()

if(NOT faults STREQUAL "")
    message(FATAL_ERROR "The packages in ${OUT}:${faults}")
endif()
