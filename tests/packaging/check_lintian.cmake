cmake_minimum_required(VERSION 3.25)
# Runs lintian on each package packaging_deb left in DEB_DIR. An error or a warning fails, also
# one lintian would let through (an older or newer lintian's exit status); the package's own
# overrides (packaging/lintian/) hold what is meant, each with its reason.
#   LINTIAN   its path as find_program found it
#   DEB_DIR   the folder holding the packages
#   PACKAGES  the package names, separated by "|"
if(NOT LINTIAN OR LINTIAN MATCHES "-NOTFOUND$")
    message(FATAL_ERROR "The checker is missing: install the Debian package lintian "
        "(scripts/install-deps.sh does), then configure again.")
endif()
string(REPLACE "|" ";" packages "${PACKAGES}")
set(faults "")
foreach(package IN LISTS packages)
    file(GLOB deb "${DEB_DIR}/${package}_*.deb")
    list(LENGTH deb count)
    if(NOT count EQUAL 1)
        string(APPEND faults "\n  no single ${package}_*.deb in ${DEB_DIR}: '${deb}'")
        continue()
    endif()
    execute_process(COMMAND "${LINTIAN}" --fail-on error,warning --no-cfg "${deb}"
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors)
    message("${package}:\n${output}${errors}")
    if(NOT result EQUAL 0 OR output MATCHES "(^|\n)[EW]: ")
        string(APPEND faults "\n  ${package}: lintian (${result}):\n${output}${errors}")
    endif()
endforeach()
if(NOT faults STREQUAL "")
    message(FATAL_ERROR "lintian found fault:${faults}")
endif()
