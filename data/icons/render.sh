#!/bin/sh
# Renders the PNG sizes of the icons from their SVGs (needs rsvg-convert, Debian librsvg2-bin).
# The PNGs are kept in the tree, so neither the build nor the package needs the renderer.
set -e
cd "$(dirname "$0")"
for svg in scalable/*.svg; do
  id=$(basename "$svg" .svg)
  for size in 16 32 48 64 128 256; do
    mkdir -p "${size}x${size}"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "${size}x${size}/$id.png"
  done
done
