cmake_minimum_required(VERSION 3.25)
# Starts the game installed under ROOT (prefix /usr) on the offscreen platform, with a scratch
# home whose XDG folders are its own, and checks that it reaches its ready state (its engine
# started, found relative to the game) and keeps its settings in the player's folders, not
# beside the installed program.
#   ROOT     the scratch root packaging_install filled
#   BINDIR   the folder the game is installed in, relative to the prefix (games)
#   HOME     a scratch home folder, emptied first
file(REMOVE_RECURSE "${HOME}")
file(MAKE_DIRECTORY "${HOME}")
set(program "${ROOT}/usr/${BINDIR}/quillmark")
execute_process(
    COMMAND ${CMAKE_COMMAND} -E env --unset=XDG_RUNTIME_DIR
            "HOME=${HOME}" "XDG_CONFIG_HOME=${HOME}/config" "XDG_DATA_HOME=${HOME}/data"
            "XDG_CACHE_HOME=${HOME}/cache" QT_QPA_PLATFORM=offscreen QUILLMARK_STARTUP_PROBE=1
            "${program}"
    TIMEOUT 30 RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)

set(faults "")
if(NOT result EQUAL 0)
    string(APPEND faults "\n  the game ended with ${result}")
endif()
if(NOT output MATCHES "\nready 1")
    string(APPEND faults "\n  the game did not reach its ready state")
endif()
set(config "${HOME}/config/quillmark/config.ini")
if(NOT EXISTS "${config}")
    string(APPEND faults "\n  no settings at ${config}")
else()
    file(READ "${config}" settings HEX)
    # The first start's settings, byte for byte: [param] CR LF skin=default CR LF ...
    string(HEX "[param]\r\nskin=default\r\nlevel=Easy\r\nhint=false\r\nuser=\r\npwd=\r\nmail="
           expected)
    if(NOT settings STREQUAL expected)
        string(APPEND faults "\n  not the first start's settings at ${config}")
    endif()
endif()
foreach(folder IN ITEMS "${HOME}/data/quillmark" "${HOME}/cache/quillmark")
    if(NOT IS_DIRECTORY "${folder}")
        string(APPEND faults "\n  no player folder ${folder}")
    endif()
endforeach()
file(GLOB beside "${ROOT}/usr/${BINDIR}/*")
list(FILTER beside EXCLUDE REGEX "/(quillmark|quillmark-ladderd|quillmark-rate)$")
if(beside)
    string(APPEND faults "\n  written beside the installed program: ${beside}")
endif()
if(faults)
    message(FATAL_ERROR "The installed game:${faults}\nIts output:\n${output}")
endif()
