# The game program: every window-side folder goes into one library, so that the program's
# entry and the tests link the same code.
find_package(Qt6 REQUIRED COMPONENTS Widgets PrintSupport)
# Puzzle pictures are written and read with libjpeg-turbo (output/jpeg_file.cpp).
find_package(JPEG REQUIRED)

add_library(quillmark_gui STATIC
    app/application.cpp
    app/atomic_file.cpp
    app/chrome.cpp
    app/error_report.cpp
    app/flat_menu_style.cpp
    app/header_bar.cpp
    app/icons.cpp
    app/ini_file.cpp
    app/main_window.cpp
    app/popup_menu.cpp
    app/qt_dialogs.cpp
    app/remove_caption.cpp
    app/settings.cpp
    app/settings_text.cpp
    app/startup_probe.cpp
    app/status_bar.cpp
    app/tool_bar.cpp
    app/window_composition.cpp
    app/wiring.cpp
    appearance/color_from_hex.cpp
    appearance/skin_colors.cpp
    appearance/skin_colors_file.cpp
    appearance/skin_menu.cpp
    appearance/skins.cpp
    board/board_grid.cpp
    board/cell_input.cpp
    board/cell_layout.cpp
    board/cell_painter.cpp
    board/grid_text.cpp
    board/grid_transfer.cpp
    board/hint_text.cpp
    board/hints.cpp
    board/locked_cells.cpp
    board/missing_count.cpp
    engine/engine_errors.cpp
    engine/engine_link.cpp
    game/engine_result.cpp
    game/grid_check.cpp
    game/levels.cpp
    game/new_puzzle.cpp
    game/online_game.cpp
    game/show_solution.cpp
    game/stopwatch.cpp
    game/time_text.cpp
    help/about_box.cpp
    help/about_pictures.cpp
    help/help_commands.cpp
    output/export_print.cpp
    output/jpeg_file.cpp
    output/picture_stamp.cpp
    output/puzzle_files.cpp
    output/puzzle_picture.cpp
    output/save_path.cpp
)
set_target_properties(quillmark_gui PROPERTIES AUTOMOC ON)
target_include_directories(quillmark_gui PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(quillmark_gui
    PUBLIC Qt6::Widgets Qt6::PrintSupport quillmark_dispatch
    PRIVATE quillmark_warnings JPEG::JPEG
)
target_precompile_headers(quillmark_gui PRIVATE
    <QtWidgets/QtWidgets>
    <memory>
    <string>
    <vector>
)

add_executable(quillmark app/main.cpp)
target_link_libraries(quillmark PRIVATE quillmark_gui quillmark_warnings)
set_target_properties(quillmark PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QUILLMARK_PROGRAM_DIR})
# The program loads the engine component from its own directory at run time.
add_dependencies(quillmark quillmark_engine)

include(${PROJECT_SOURCE_DIR}/cmake/skins.cmake)
