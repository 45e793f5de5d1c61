#!/usr/bin/env bash
# Render the application icon res/tumblecat.ico (16x16, 32x32, 48x48, 32-bit
# with alpha) from art/icon/tumblecat.svg.
#
# Debian packages needed: librsvg2-bin (rsvg-convert), imagemagick (convert).
#   apt-get install librsvg2-bin imagemagick
#
# The 16x16 image leaves out the shapes of class "detail" (eye highlights,
# mouth, forehead stripe), which only turn into mud at that size.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
svg=$root/art/icon/tumblecat.svg
ico=$root/res/tumblecat.ico
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$(dirname "$ico")"

sed 's|<style id="size">[^<]*</style>|<style id="size">.detail { display: none; }</style>|' "$svg" > "$tmp/small.svg"
grep -q 'display: none' "$tmp/small.svg" || { echo "$svg: no <style id=\"size\">" >&2; exit 1; }

rsvg-convert -w 16 -h 16 -o "$tmp/i16.png" "$tmp/small.svg"
rsvg-convert -w 32 -h 32 -o "$tmp/i32.png" "$svg"
rsvg-convert -w 48 -h 48 -o "$tmp/i48.png" "$svg"
convert "$tmp/i16.png" "$tmp/i32.png" "$tmp/i48.png" "$ico"
identify "$ico"
