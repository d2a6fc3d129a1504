#!/usr/bin/env bash
# Installs what Quillmark needs, builds it and starts the game.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset release
cmake --build --preset release --target quillmark
exec build/release/bin/quillmark
