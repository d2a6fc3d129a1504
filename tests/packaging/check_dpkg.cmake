cmake_minimum_required(VERSION 3.25)
# Installs the packages packaging_deb left in DEB_DIR with dpkg into a scratch root that has
# its own dpkg database, then removes and purges them, and checks what each step leaves: all
# of every package's files once installed, the conffiles alone once removed, nothing once
# purged. The machine's own packages and systemd are not touched: the maintainer scripts run
# outside the root with DPKG_ROOT set, which they take as "do nothing", and the libraries the
# packages depend on are the machine's, not in the scratch database (--force-depends).
#   DPKG, DPKG_DEB  the tools' paths
#   DEB_DIR         the folder holding the packages
#   ROOT            the scratch root, emptied first
#   PACKAGES        the package names, separated by "|"
foreach(tool IN ITEMS DPKG DPKG_DEB)
    if(NOT ${tool} OR ${tool} MATCHES "-NOTFOUND$")
        message(FATAL_ERROR "${tool} is missing: install the Debian package dpkg")
    endif()
endforeach()
string(REPLACE "|" ";" packages "${PACKAGES}")
set(admin "${ROOT}/var/lib/dpkg")
file(REMOVE_RECURSE "${ROOT}")
file(MAKE_DIRECTORY "${admin}/info" "${admin}/updates")
file(TOUCH "${admin}/status")

set(debs "")
set(conffiles "")
foreach(package IN LISTS packages)
    file(GLOB deb "${DEB_DIR}/${package}_*.deb")
    list(LENGTH deb count)
    if(NOT count EQUAL 1)
        message(FATAL_ERROR "No single ${package}_*.deb in ${DEB_DIR}: '${deb}'")
    endif()
    list(APPEND debs "${deb}")
    execute_process(COMMAND "${DPKG_DEB}" --info "${deb}" conffiles
        RESULT_VARIABLE result OUTPUT_VARIABLE listed ERROR_QUIET)
    if(result EQUAL 0)
        string(REGEX REPLACE "\n$" "" listed "${listed}")
        string(REPLACE "\n" ";" listed "${listed}")
        list(APPEND conffiles ${listed})
    endif()
endforeach()
list(SORT conffiles)

function(run_dpkg step)
    execute_process(
        COMMAND "${DPKG}" --force-not-root --force-script-chrootless --force-depends
                "--root=${ROOT}" ${ARGN}
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "dpkg ${step} failed (${result}):\n${output}")
    endif()
endfunction()
# Every file and link under the root but dpkg's database, as absolute paths in the root.
function(files_in_root out)
    file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE "${ROOT}" "${ROOT}/*")
    list(FILTER found EXCLUDE REGEX "^var/lib/dpkg/")
    list(TRANSFORM found PREPEND "/")
    list(SORT found)
    set(${out} "${found}" PARENT_SCOPE)
endfunction()

set(faults "")
run_dpkg(install --install ${debs})
files_in_root(installed)
foreach(package IN LISTS packages)
    execute_process(
        COMMAND "${DPKG}" "--root=${ROOT}" --status "${package}"
        OUTPUT_VARIABLE status ERROR_VARIABLE status)
    if(NOT status MATCHES "\nStatus: install ok installed\n")
        string(APPEND faults "\n  ${package} is not installed:\n${status}")
    endif()
    execute_process(COMMAND "${DPKG}" "--root=${ROOT}" --listfiles "${package}"
        OUTPUT_VARIABLE listed)
    string(REGEX REPLACE "\n$" "" listed "${listed}")
    string(REPLACE "\n" ";" listed "${listed}")
    foreach(path IN LISTS listed)
        if(NOT IS_DIRECTORY "${ROOT}${path}" AND NOT path IN_LIST installed)
            string(APPEND faults "\n  ${package}: ${path} was not installed")
        endif()
    endforeach()
endforeach()
list(LENGTH installed count)
message("Installed ${count} files into ${ROOT}")
# The server reads by default the configuration file its package installs.
foreach(path IN LISTS conffiles)
    if(path MATCHES "/ladderd\\.conf$")
        execute_process(COMMAND "${ROOT}/usr/bin/quillmark-ladderd" --help
            OUTPUT_VARIABLE usage ERROR_VARIABLE usage)
        string(FIND "${usage}" "Default: ${path}," at)
        if(at LESS 0)
            string(APPEND faults "\n  quillmark-ladderd does not read ${path} by default:\n${usage}")
        endif()
    endif()
endforeach()

run_dpkg(remove --remove ${packages})
files_in_root(left)
if(NOT "${left}" STREQUAL "${conffiles}")
    string(APPEND faults "\n  removed, the packages left '${left}', not the conffiles "
                         "'${conffiles}'")
endif()

run_dpkg(purge --purge ${packages})
files_in_root(left)
if(left)
    string(APPEND faults "\n  purged, the packages left ${left}")
endif()
execute_process(COMMAND "${DPKG}" "--root=${ROOT}" --get-selections OUTPUT_VARIABLE selections)
if(NOT selections STREQUAL "")
    string(APPEND faults "\n  purged, dpkg still knows:\n${selections}")
endif()

if(NOT faults STREQUAL "")
    message(FATAL_ERROR "Installing the packages with dpkg:${faults}")
endif()
