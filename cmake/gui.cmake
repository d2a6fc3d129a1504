# The game program, one static library per folder. The links say which folder may use which:
# toolkit/ and engine/ at the bottom, then appearance/ and help/, board/, game/ and output/,
# and app/ on top, which composes them all. The layering test (cmake/check_layers.cmake)
# holds the #include lines to the same order.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)
# Puzzle pictures and skin headers are written and read with libjpeg-turbo.
find_package(JPEG REQUIRED)

function(quillmark_gui_library name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "SOURCES;LINKS")
    add_library(${name} STATIC ${arg_SOURCES})
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC Qt6::Widgets ${arg_LINKS} PRIVATE quillmark_warnings)
    if(name STREQUAL quillmark_toolkit)
        target_precompile_headers(${name} PRIVATE <QtWidgets/QtWidgets> <memory> <string> <vector>)
    else()
        target_precompile_headers(${name} REUSE_FROM quillmark_toolkit)
    endif()
endfunction()

quillmark_gui_library(quillmark_toolkit
    SOURCES
        toolkit/atomic_file.cpp
        toolkit/icons.cpp
        toolkit/ini_file.cpp
        toolkit/jpeg_file.cpp
        toolkit/picture_button.cpp
        toolkit/qt_dialogs.cpp
        toolkit/remove_caption.cpp
        toolkit/text_form.cpp
        toolkit/dialogs.h
        toolkit/feature.h
        toolkit/sentences.h
    LINKS Qt6::PrintSupport JPEG::JPEG)

quillmark_gui_library(quillmark_engine_link
    SOURCES
        engine/engine_errors.cpp
        engine/engine_link.cpp
        engine/puzzle_engine.cpp
    LINKS quillmark_toolkit quillmark_dispatch)

quillmark_gui_library(quillmark_appearance
    SOURCES
        appearance/color_contrast.cpp
        appearance/color_from_hex.cpp
        appearance/skin_colors.cpp
        appearance/skin_colors_file.cpp
        appearance/skin_menu.cpp
        appearance/skins.cpp
    LINKS quillmark_toolkit)

quillmark_gui_library(quillmark_help
    SOURCES
        help/about_box.cpp
        help/about_pictures.cpp
        help/help_commands.cpp
    LINKS quillmark_engine_link quillmark_toolkit)

quillmark_gui_library(quillmark_board
    SOURCES
        board/board_grid.cpp
        board/board_keys.cpp
        board/board_session.cpp
        board/board_view.cpp
        board/cell_layout.cpp
        board/cell_painter.cpp
        board/conflicts.cpp
        board/grid_text.cpp
        board/hint_text.cpp
        board/hints.cpp
        board/history.cpp
        board/locked_cells.cpp
        board/play_aids.cpp
        board/step_explanation.cpp
    LINKS quillmark_appearance quillmark_engine_link quillmark_toolkit)

quillmark_gui_library(quillmark_game
    SOURCES
        game/engine_result.cpp
        game/levels.cpp
        game/online_game.cpp
        game/puzzle_commands.cpp
        game/stopwatch.cpp
        game/time_text.cpp
    LINKS quillmark_board quillmark_help quillmark_engine_link quillmark_toolkit)

quillmark_gui_library(quillmark_output
    SOURCES
        output/picture_commands.cpp
        output/picture_stamp.cpp
        output/printing.cpp
        output/puzzle_files.cpp
        output/puzzle_picture.cpp
        output/save_path.cpp
    LINKS quillmark_board quillmark_appearance quillmark_help quillmark_engine_link
          quillmark_toolkit Qt6::PrintSupport)

quillmark_gui_library(quillmark_gui
    SOURCES
        app/accessibility.cpp
        app/application.cpp
        app/error_report.cpp
        app/flat_menu_style.cpp
        app/header_bar.cpp
        app/main_window.cpp
        app/popup_menu.cpp
        app/program_paths.cpp
        app/play_aids_settings.cpp
        app/settings.cpp
        app/settings_text.cpp
        app/startup_probe.cpp
        app/status_bar.cpp
        app/tool_bar.cpp
        app/window_composition.cpp
        app/window_handlers.cpp
        app/window_play_aids.cpp
        app/window_skin.cpp
        app/window_wiring.cpp
    LINKS quillmark_output quillmark_game quillmark_board quillmark_help quillmark_appearance
          quillmark_engine_link quillmark_toolkit)

# Installed, the game finds the engine component and the shipped skins relative to itself.
if(NOT DEFINED QUILLMARK_INSTALLED_ENGINE_DIR)
    set(QUILLMARK_INSTALLED_ENGINE_DIR "../lib/quillmark")
endif()
if(NOT DEFINED QUILLMARK_INSTALLED_SKIN_DIR)
    set(QUILLMARK_INSTALLED_SKIN_DIR "../share/quillmark/skin")
endif()
set_property(SOURCE app/main_window.cpp APPEND PROPERTY COMPILE_DEFINITIONS
    QUILLMARK_INSTALLED_ENGINE_DIR="${QUILLMARK_INSTALLED_ENGINE_DIR}"
    QUILLMARK_INSTALLED_SKIN_DIR="${QUILLMARK_INSTALLED_SKIN_DIR}")

# The window is matched to its desktop entry by this name.
set_property(SOURCE app/application.cpp APPEND PROPERTY COMPILE_DEFINITIONS
    QUILLMARK_APP_ID="${QUILLMARK_APP_ID}")

add_executable(quillmark app/main.cpp)
target_link_libraries(quillmark PRIVATE quillmark_gui quillmark_warnings)
set_target_properties(quillmark PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUILLMARK_PROGRAM_DIR})
# The program loads the engine component from its own directory at run time.
add_dependencies(quillmark quillmark_engine)

include(${PROJECT_SOURCE_DIR}/cmake/skins.cmake)
