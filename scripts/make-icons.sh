#!/usr/bin/env bash
# Renders the application icon's PNG sizes from packaging/icons/orvo-editor.svg (needs rsvg-convert,
# Debian's librsvg2-bin). The PNGs are kept in the repository, so building needs no renderer.
set -euo pipefail
cd "$(dirname "$0")/../packaging/icons"
for size in 16 32 48 64 128 256; do
  mkdir -p "${size}x${size}"
  rsvg-convert -w "$size" -h "$size" orvo-editor.svg -o "${size}x${size}/orvo-editor.png"
done
