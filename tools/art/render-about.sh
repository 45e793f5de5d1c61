#!/usr/bin/env bash
# Render the about picture res/about.bmp (477 x 282, 8 bits per pixel) from
# art/about/scene.svg and Whiskerby's first surface, sitting at the right end of the scene.
#
# Debian packages needed: librsvg2-bin (rsvg-convert), imagemagick (convert).
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

rsvg-convert -w 477 -h 282 -o "$tmp/scene.png" "$root/art/about/scene.svg"
# The skin picture's key colour is its background: make it see-through for the composite.
convert "$root/data/skin/whiskerby/surface0.png" -transparent '#FF00FF' "$tmp/cat.png"
convert "$tmp/scene.png" "$tmp/cat.png" -geometry +318+92 -composite \
  -dither None -colors 256 -type Palette -compress None BMP3:"$root/res/about.bmp"
identify "$root/res/about.bmp"
