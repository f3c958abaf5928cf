#!/bin/sh
# Renders the PNG sizes of the icon from calvora.svg (needs rsvg-convert, Debian librsvg2-bin).
# The PNGs are kept in the repository, so a build needs no SVG renderer.
set -e
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
  rsvg-convert -w "$size" -h "$size" calvora.svg -o "calvora-$size.png"
done
