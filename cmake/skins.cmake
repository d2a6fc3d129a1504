# The skins: each folder of skins/ is copied to skin/<name>/ in the program's directory,
# where the game looks for them, and copied again whenever one of its files changes.
file(GLOB_RECURSE QUILLMARK_SKIN_FILES CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR}/skins
    ${PROJECT_SOURCE_DIR}/skins/*)
# The painter that made the skins is no part of them.
list(FILTER QUILLMARK_SKIN_FILES EXCLUDE REGEX "^painter/")

set(quillmark_skin_copies)
foreach(skin_file IN LISTS QUILLMARK_SKIN_FILES)
    set(source ${PROJECT_SOURCE_DIR}/skins/${skin_file})
    set(copy ${QUILLMARK_PROGRAM_DIR}/skin/${skin_file})
    add_custom_command(
        OUTPUT ${copy}
        COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${copy}
        DEPENDS ${source}
        COMMENT "Copying skin file ${skin_file}"
        VERBATIM
    )
    list(APPEND quillmark_skin_copies ${copy})
endforeach()
add_custom_target(quillmark_skins DEPENDS ${quillmark_skin_copies})
add_dependencies(quillmark quillmark_skins)

# Paints the skins' header pictures and writes their colour files into skins/; run by hand
# after changing a design, and commit what it writes. Built with the game, so that it keeps
# compiling as the widgets it previews change.
add_executable(skin_painter
    skins/painter/main.cpp
    skins/painter/skin_designs.cpp
    skins/painter/banner.cpp
    skins/painter/preview.cpp
)
target_link_libraries(skin_painter PRIVATE quillmark_gui quillmark_warnings)
target_compile_definitions(skin_painter PRIVATE
    QUILLMARK_SKINS_SOURCE_DIR="${PROJECT_SOURCE_DIR}/skins")
