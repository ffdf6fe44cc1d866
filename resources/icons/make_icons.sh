#!/usr/bin/env bash
# Renders the application icon into the sizes desktop menus and panels ask the icon theme
# for. The PNG files are kept in the repository, so a build needs no SVG renderer; run this
# again after changing velmora.svg.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "${size}x${size}"
    # Drawn at the target size rather than scaled down, so thin strokes stay crisp.
    convert -background none -density $((96 * size / 128)) msvg:velmora.svg \
        -resize "${size}x${size}" -depth 8 -strip "PNG32:${size}x${size}/velmora.png"
done
