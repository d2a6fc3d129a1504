#!/usr/bin/env bash
# Installs what Quillmark needs, builds everything and runs every test: the release build
# with the window's tests (offscreen, and under Xvfb where the real screen is read) and the
# packaging checks, then everything but the benchmarks again under the address and
# undefined-behaviour sanitizers, the window's tests among them.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --workflow --preset release
cmake --workflow --preset sanitize
