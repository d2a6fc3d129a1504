# Run as a test: fails when a source file includes a header of a folder it must not depend on.
# The folders depend one way: app/ composes everything; board/, game/, output/, appearance/ and
# help/ never include app/; engine/ includes none of them; the puzzle library has no window.
# Usage: cmake -DSOURCE_DIR=... -P check_layers.cmake
cmake_minimum_required(VERSION 3.25)

# For each folder, the folders whose headers it may include besides its own.
set(allowed_toolkit "")
set(allowed_engine "toolkit")
set(allowed_appearance "toolkit")
set(allowed_help "engine;toolkit")
set(allowed_board "appearance;engine;toolkit")
set(allowed_game "board;help;engine;toolkit")
set(allowed_output "board;appearance;help;engine;toolkit")
set(allowed_app "output;game;board;help;appearance;engine;toolkit")
set(allowed_sudoku "")
set(allowed_puzzle_engine "sudoku;ladder_protocol;engine")
set(allowed_ladder_server "sudoku;ladder_protocol")
set(allowed_ladder_protocol "")
set(allowed_rate "sudoku")
set(folders toolkit engine appearance help board game output app sudoku puzzle_engine ladder_server
    ladder_protocol rate)

set(violations "")
foreach(folder IN LISTS folders)
    file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
        ${SOURCE_DIR}/${folder}/*.cpp ${SOURCE_DIR}/${folder}/*.h)
    foreach(source IN LISTS sources)
        file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*" "\\1" header "${line}")
            if(NOT header MATCHES "/")
                continue()
            endif()
            string(REGEX REPLACE "/.*" "" target "${header}")
            if(target STREQUAL folder OR NOT target IN_LIST folders)
                continue()
            endif()
            if(NOT target IN_LIST allowed_${folder})
                list(APPEND violations "${source} includes ${header}")
            endif()
        endforeach()
    endforeach()
endforeach()

# Inside the ladder server the layers depend downwards only: the transport knows nothing of the
# ladder, the stores nothing of the services, and only admin/ sees everything.
set(allowed_ladder_http "")
set(allowed_ladder_store "")
set(allowed_ladder_store/sqlite "store")
set(allowed_ladder_store/postgres "store")
set(allowed_ladder_service "store")
set(allowed_ladder_routes "http;service;store")
set(allowed_ladder_admin "http;routes;service;store;store/sqlite;store/postgres")
set(ladder_layers http store store/sqlite store/postgres service routes admin)
foreach(layer IN LISTS ladder_layers)
    file(GLOB sources RELATIVE ${SOURCE_DIR}
        ${SOURCE_DIR}/ladder_server/${layer}/*.cpp ${SOURCE_DIR}/ladder_server/${layer}/*.h)
    foreach(source IN LISTS sources)
        file(STRINGS ${SOURCE_DIR}/${source} includes
            REGEX "^[ \t]*#[ \t]*include[ \t]*\"ladder_server/")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^[^\"]*\"ladder_server/(.*)/[^/]*\".*" "\\1" target "${line}")
            if(NOT target STREQUAL layer AND NOT target IN_LIST allowed_ladder_${layer})
                list(APPEND violations "${source} includes ladder_server/${target}/")
            endif()
        endforeach()
    endforeach()
endforeach()

# The engine component sees only the boundary header of the program's engine link.
file(GLOB_RECURSE engine_sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/puzzle_engine/*)
foreach(source IN LISTS engine_sources)
    file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "#[ \t]*include[ \t]*\"engine/")
    foreach(line IN LISTS includes)
        if(NOT line MATCHES "\"engine/dispatch.h\"")
            list(APPEND violations "${source}: ${line}")
        endif()
    endforeach()
endforeach()

if(violations)
    list(JOIN violations "\n  " text)
    message(FATAL_ERROR "Includes against the folders' one-way order:\n  ${text}")
endif()
