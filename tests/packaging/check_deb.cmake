cmake_minimum_required(VERSION 3.25)
# Packs the build as a Debian package into a scratch folder and checks its control fields: the
# name, version and section, and the dependencies dpkg-shlibdeps found, those of the engine
# component and its curl module (loaded at run time, so only scanning them as files of the
# package finds them) among them.
#   CPACK, DPKG_DEB  the tools' paths
#   BUILD_DIR        the build folder, holding CPackConfig.cmake
#   OUT              the scratch folder, emptied first
#   VERSION          the project's version
#   GAME, SERVER     whether the game and the ladder server were built
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
file(GLOB debs "${OUT}/quillmark_${VERSION}_*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "Expected one quillmark_${VERSION}_<arch>.deb in ${OUT}, found: ${debs}\n"
        "${output}")
endif()

execute_process(COMMAND "${DPKG_DEB}" --field "${debs}" Package Version Section Depends
                        Installed-Size Homepage Maintainer
    RESULT_VARIABLE result OUTPUT_VARIABLE fields ERROR_VARIABLE errors)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "dpkg-deb cannot read ${debs}: ${errors}")
endif()
message("${fields}")

set(faults "")
foreach(expected IN ITEMS "Package: quillmark" "Version: ${VERSION}" "Section: games"
                          "Homepage: https://quillmark.example/" "Maintainer: ")
    string(FIND "${fields}" "${expected}" at)
    if(at EQUAL -1)
        set(faults "${faults}\n  no '${expected}'")
    endif()
endforeach()
string(REGEX MATCH "Depends: [^\n]*" depends "${fields}")
set(needed libc6 libstdc++6)
if(GAME)
    # The game's own links, and the engine's: libcurl is linked by the engine's curl module
    # alone.
    list(APPEND needed libqt6gui6 libqt6widgets6 libqt6printsupport6 libjpeg62-turbo libcurl4)
endif()
if(SERVER)
    list(APPEND needed libsqlite3-0 libsodium23 libpqxx-6.4)
endif()
# "Depends: a (>= 1), b | c" as the list of package names a;b;c.
string(REGEX REPLACE "^Depends: " "" depends "${depends}")
string(REGEX REPLACE " *\\([^)]*\\)" "" depends "${depends}")
string(REGEX REPLACE " *[,|] *" ";" depends "${depends}")
foreach(package IN LISTS needed)
    if(NOT package IN_LIST depends)
        set(faults "${faults}\n  Depends lacks ${package}")
    endif()
endforeach()

execute_process(COMMAND "${DPKG_DEB}" --contents "${debs}" OUTPUT_VARIABLE contents)
if(GAME AND NOT contents MATCHES "/quillmark/libquillmark_engine.so\n")
    set(faults "${faults}\n  the engine component is not in the package")
endif()
if(GAME AND NOT contents MATCHES "/quillmark/libquillmark_curl.so\n")
    set(faults "${faults}\n  the engine's curl module is not in the package")
endif()
if(NOT contents MATCHES "/usr/bin/quillmark-rate\n")
    set(faults "${faults}\n  the rater quillmark-rate is not in the package")
endif()
if(contents MATCHES "/skin/painter")
    set(faults "${faults}\n  the skin painter is in the package")
endif()

if(NOT faults STREQUAL "")
    message(FATAL_ERROR "${debs}:${faults}\nContents:\n${contents}")
endif()
