#!/usr/bin/env bash
# Takes the screenshot the metainfo shows (screenshots/board.png, published on the site): the
# game under its own Xvfb server, a fixed Easy puzzle loaded, a few cells filled in, pencil
# notes in one, the hints on. Needs xvfb-run, xdotool and ImageMagick's import (all in
# scripts/install-deps.sh).
#   packaging/take-screenshot.sh [PROGRAM]   default: the installed quillmark
# Run from a build folder the game keeps its settings beside itself, so a build's own config.ini
# gets the choices made here; installed, they go to a scratch home.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
program=$(command -v "${1:-quillmark}" || true)
if [ -z "$program" ]; then
    echo "take-screenshot.sh: no program ${1:-quillmark}" >&2
    exit 1
fi

if [ -z "${QUILLMARK_SCREENSHOT_INSIDE:-}" ]; then
    export QUILLMARK_SCREENSHOT_INSIDE=1 QT_QPA_PLATFORM=xcb
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$program"
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export HOME=$scratch XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data \
       XDG_CACHE_HOME=$scratch/cache XDG_RUNTIME_DIR=$scratch/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
# An Easy puzzle from the Sudoku Exchange puzzle bank (tests/data/puzzles/), nine rows.
puzzle=.5.7.3.6...7...8.....816.......3......5...1..73..4..869.6...2.484.572.93...4.9...
fold -w 9 <<<"$puzzle" >"$scratch/easy.txt"

"$program" &
game=$!
window=
for _ in $(seq 50); do
    window=$(xdotool search --onlyvisible --name '^Quillmark$' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.2
done
if [ -z "$window" ]; then
    echo "take-screenshot.sh: the game's window did not show" >&2
    kill "$game"
    exit 1
fi
# No window manager: focus the game's window by hand before each key.
keys() {
    xdotool windowfocus --sync "$window"
    xdotool key --delay 80 "$@"
    sleep 0.5
}
# The engine starts a moment after the window.
sleep 4
keys ctrl+o
sleep 1
# The file dialog has the focus, in its file name field.
xdotool type --delay 20 "$scratch/easy.txt"
xdotool key Return
sleep 1

# To the board, its first cell selected; fill the top row and part of the next two (the
# puzzle's solution: 158723469 / 367954821 / 294816375), with pencil notes in the cells left.
keys Tab
keys 1 Right Right 8 Right Right 2 Right Right 4 Right Right 9
keys Down ctrl+1 ctrl+2 ctrl+5 Left ctrl+1 ctrl+2 ctrl+5 Left Left ctrl+4 ctrl+5
keys Left Left 9 Left Left 6 Left 3
keys Down 2 Right 9 Right 4 Right Right Right Right ctrl+3 ctrl+5 ctrl+7
keys Right ctrl+3 ctrl+5 ctrl+7 Right ctrl+5 ctrl+7
# The hints on, and a cell chosen whose candidates they list.
keys ctrl+h Down Left Left Left Left Left Left Left Left
sleep 1

mkdir -p "$here/screenshots"
import -window "$window" "$here/screenshots/board.png"
kill "$game"
wait "$game" 2>/dev/null || true
echo "Wrote $here/screenshots/board.png"
