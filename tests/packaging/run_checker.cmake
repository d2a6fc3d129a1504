cmake_minimum_required(VERSION 3.25)
# Runs one checking tool on a file and fails when it finds fault, or when the tool is missing:
# a check that drops out quietly would let a broken file into the package on that machine.
#   TOOL     the tool's path as find_program found it (empty or *-NOTFOUND when missing)
#   PACKAGE  the Debian package that brings it
#   ARGS     its arguments, separated by "|"
#   QUIET    when ON, anything the tool prints is a fault too (tools that warn and exit 0)
if(NOT TOOL OR TOOL MATCHES "-NOTFOUND$")
    message(FATAL_ERROR "The checker is missing: install the Debian package ${PACKAGE} "
        "(scripts/install-deps.sh does), then configure again.")
endif()
string(REPLACE "|" ";" args "${ARGS}")
execute_process(COMMAND ${TOOL} ${args}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
message("${output}${errors}")
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${TOOL} failed (${result})")
endif()
if(QUIET AND NOT "${output}${errors}" STREQUAL "")
    message(FATAL_ERROR "${TOOL} reported the above")
endif()
