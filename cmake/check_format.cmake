# Run as a test: fails when a C++ file of the repository differs from what clang-format makes
# of it, and when clang-format cannot be found or run, so a machine without it never passes
# unchecked code. Usage: cmake -DSOURCE_DIR=... -DCLANG_FORMAT=... -P check_format.cmake

cmake_minimum_required(VERSION 3.25)

if(NOT CLANG_FORMAT)
    message(FATAL_ERROR "clang-format was not found when the build was configured, so the "
        "format cannot be checked. Install it (scripts/install-deps.sh lists it) and "
        "configure again, or point -DQUILLMARK_CLANG_FORMAT=... at it.")
endif()
execute_process(
    COMMAND ${CLANG_FORMAT} --version
    RESULT_VARIABLE result
    OUTPUT_VARIABLE version
    ERROR_VARIABLE version
)
string(STRIP "${version}" version)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Cannot run clang-format as ${CLANG_FORMAT}: ${result}\n${version}")
endif()
message(STATUS "Checking with ${version}")

# Every C++ file rather than a list of folders, so a new folder is checked from its first
# file. Git knows which files belong to the repository, untracked ones not yet added included;
# without it, as in an unpacked archive, the whole tree is searched.
find_program(GIT git)
set(result 1)
if(GIT)
    execute_process(
        COMMAND ${GIT} ls-files --cached --others --exclude-standard -- *.cpp *.h
        WORKING_DIRECTORY ${SOURCE_DIR}
        RESULT_VARIABLE result
        OUTPUT_VARIABLE listed
        ERROR_QUIET
    )
endif()
string(STRIP "${listed}" listed)
if(result EQUAL 0 AND NOT listed STREQUAL "")
    string(REPLACE "\n" ";" sources "${listed}")
else()
    file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
endif()
# Build folders hold generated code, and hidden ones tools' caches; a file deleted but not
# yet removed from git's index is no longer there to check.
list(FILTER sources EXCLUDE REGEX "^build[^/]*/|(^|/)\\.")
set(existing)
foreach(source IN LISTS sources)
    if(EXISTS ${SOURCE_DIR}/${source})
        list(APPEND existing ${source})
    endif()
endforeach()
list(LENGTH existing count)
if(count EQUAL 0)
    message(FATAL_ERROR "Found no C++ files under ${SOURCE_DIR} to check.")
endif()

execute_process(
    COMMAND ${CLANG_FORMAT} --dry-run --Werror ${existing}
    WORKING_DIRECTORY ${SOURCE_DIR}
    RESULT_VARIABLE result
)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Some of the ${count} C++ files are not formatted; "
        "run clang-format -i on those named above.")
endif()
message(STATUS "All ${count} C++ files are formatted.")
