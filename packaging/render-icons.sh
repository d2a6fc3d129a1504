#!/usr/bin/env bash
# Renders the application icon's PNG sizes from icons/quillmark.svg into icons/quillmark-N.png.
# Run after changing the SVG and commit what it writes: the build installs the PNGs as they
# are, so it needs no SVG renderer. Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/icons"

if ! command -v rsvg-convert >/dev/null; then
    echo "render-icons.sh: rsvg-convert is missing; install the package librsvg2-bin" >&2
    exit 1
fi

# The sizes cmake/install.cmake installs into the hicolor theme.
for size in 16 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" --format png quillmark.svg \
        --output "quillmark-$size.png"
done
