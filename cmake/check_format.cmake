# Run as a test: fails when a C++ file of the repository differs from what clang-format makes
# of it. Usage: cmake -DSOURCE_DIR=... -DCLANG_FORMAT=... -P check_format.cmake
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
    ${SOURCE_DIR}/app/*.cpp ${SOURCE_DIR}/app/*.h
    ${SOURCE_DIR}/appearance/*.cpp ${SOURCE_DIR}/appearance/*.h
    ${SOURCE_DIR}/board/*.cpp ${SOURCE_DIR}/board/*.h
    ${SOURCE_DIR}/engine/*.cpp ${SOURCE_DIR}/engine/*.h
    ${SOURCE_DIR}/game/*.cpp ${SOURCE_DIR}/game/*.h
    ${SOURCE_DIR}/help/*.cpp ${SOURCE_DIR}/help/*.h
    ${SOURCE_DIR}/output/*.cpp ${SOURCE_DIR}/output/*.h
    ${SOURCE_DIR}/sudoku/*.cpp ${SOURCE_DIR}/sudoku/*.h
    ${SOURCE_DIR}/puzzle_engine/*.cpp ${SOURCE_DIR}/puzzle_engine/*.h
    ${SOURCE_DIR}/ladder_server/*.cpp ${SOURCE_DIR}/ladder_server/*.h
    ${SOURCE_DIR}/tests/*.cpp ${SOURCE_DIR}/tests/*.h
    ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/bench/*.h
    ${SOURCE_DIR}/skins/*.cpp ${SOURCE_DIR}/skins/*.h
)
execute_process(
    COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
    WORKING_DIRECTORY ${SOURCE_DIR}
    RESULT_VARIABLE result
)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Some files are not formatted; run clang-format -i on them.")
endif()
