#!/usr/bin/env bash
# Render the falling-object sets from their sources.
#
#   art/dropling/<set>/surface0.svg        ->  data/dropling/<set>/surface0.png
#   art/dropling/<set>/dropling.utf8.txt   ->  data/dropling/<set>/dropling.txt  (Shift_JIS, CR LF)
#                                          ->  data/dropling/<set>/profile.txt   (its #profile section)
#
# profile.txt is what the cat's falling-object profile dialog shows; it is cut from the
# #profile section so the two never disagree.
#
# Debian packages needed: librsvg2-bin (rsvg-convert), python3 (standard library only),
# libc-bin (iconv), sed, awk.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for src in "$root"/art/dropling/*/; do
    set=$(basename "$src")
    out=$root/data/dropling/$set
    mkdir -p "$out"
    rsvg-convert --format=png -o "$tmp/$set.png" "$src/surface0.svg"
    python3 "$here/keypng.py" "$tmp/$set.png=$out/surface0.png"
    python3 "$here/keypng.py" --check "$out/surface0.png"
    iconv -f UTF-8 -t CP932 "$src/dropling.utf8.txt" | sed 's/$/\r/' > "$out/dropling.txt"
    awk '/^#[A-Za-z0-9._-]+$/ { inside = ($0 == "#profile"); next } inside' "$src/dropling.utf8.txt" |
        iconv -f UTF-8 -t CP932 | sed 's/$/\r/' > "$out/profile.txt"
    echo "rendered $set into $out"
done
