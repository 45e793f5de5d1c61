#!/usr/bin/env bash
# Render the Whiskerby skin from its hand-written SVG sources.
#
#   art/whiskerby/surfaceN.svg  ->  data/skin/whiskerby/surfaceN.png      (N = 0..4)
#                                   data/skin/whiskerby/surfaceNF.png     (N = 0..2, F = 0..3 blink)
#                                   data/skin/whiskerby/headrect.txt
#   art/whiskerby/profile.utf8.txt  ->  data/skin/whiskerby/profile.txt     (Shift_JIS, CR LF)
#                                   data/skin/whiskerby/separate.txt    ("3": first drop pose)
#
# Debian packages needed: librsvg2-bin (rsvg-convert), python3 (standard
# library only), libc-bin (iconv), sed.
#   apt-get install librsvg2-bin python3
#
# Surfaces 0..2 are the normal poses and get four blink frames each
# (half-closed, closed, closed, half-closed); 3 and 4 are the drop poses.
# Each SVG carries <style id="eyestate"> that hides two of the three eye groups
# (.eyes-open, .eyes-half, .eyes-closed); this script rewrites that rule to
# pick the eye state, so a frame differs from its surface only inside the eyes.
#
# The PNGs are 8-bit palette images without alpha: background pixels are the
# key colour FF00FF (palette index 0, and the top-left pixel), figure pixels
# come from thresholding the rendered alpha at 50 %. See tools/art/keypng.py.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
src=$root/art/whiskerby
out=$root/data/skin/whiskerby
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$out"

# with_eyes STATE IN.svg OUT.svg [EXTRA-CSS]
with_eyes() {
    local rule
    case $1 in
        open)   rule='.eyes-half, .eyes-closed { display: none; }' ;;
        half)   rule='.eyes-open, .eyes-closed { display: none; }' ;;
        closed) rule='.eyes-open, .eyes-half { display: none; }' ;;
        *) echo "bad eye state $1" >&2; return 1 ;;
    esac
    rule="$rule ${4:-}"
    sed "s|<style id=\"eyestate\">[^<]*</style>|<style id=\"eyestate\">$rule</style>|" "$2" > "$3"
    grep -q "<style id=\"eyestate\">$rule</style>" "$3" || { echo "$2: no eyestate style" >&2; return 1; }
}

render() { rsvg-convert --format=png -o "$2" "$1"; }

: > "$tmp/headrect.txt"
for s in 0 1 2 3 4; do
    svg=$src/surface$s.svg
    with_eyes open "$svg" "$tmp/s$s-open.svg"
    render "$tmp/s$s-open.svg" "$tmp/s$s-open.png"

    # head rectangle: render the #head group alone and measure it
    with_eyes open "$svg" "$tmp/s$s-head.svg" '#behind, #front { display: none; }'
    render "$tmp/s$s-head.svg" "$tmp/s$s-head.png"
    python3 "$here/keypng.py" --bbox "$tmp/s$s-head.png" >> "$tmp/headrect.txt"

    if [ "$s" -le 2 ]; then
        for st in half closed; do
            with_eyes $st "$svg" "$tmp/s$s-$st.svg"
            render "$tmp/s$s-$st.svg" "$tmp/s$s-$st.png"
        done
        # one palette for the surface and its frames
        python3 "$here/keypng.py" \
            "$tmp/s$s-open.png=$out/surface$s.png" \
            "$tmp/s$s-half.png=$out/surface${s}0.png" \
            "$tmp/s$s-closed.png=$out/surface${s}1.png" \
            "$tmp/s$s-closed.png=$out/surface${s}2.png" \
            "$tmp/s$s-half.png=$out/surface${s}3.png"
        python3 "$here/keypng.py" --check "$out/surface$s.png" \
            "$out/surface${s}0.png" "$out/surface${s}1.png" \
            "$out/surface${s}2.png" "$out/surface${s}3.png"
    else
        python3 "$here/keypng.py" "$tmp/s$s-open.png=$out/surface$s.png"
        python3 "$here/keypng.py" --check "$out/surface$s.png"
    fi
done

# Skin text files: CR LF line ends; profile.txt in Shift_JIS (CP932).
# headrect.txt: one line per surface 0..4, "left,top,right,bottom" in that
# surface's pixels, right and bottom exclusive (the bounding box of #head).
sed 's/$/\r/' "$tmp/headrect.txt" > "$out/headrect.txt"
iconv -f UTF-8 -t CP932 "$src/profile.utf8.txt" | sed 's/$/\r/' > "$out/profile.txt"
printf '3\r\n' > "$out/separate.txt"
echo "rendered into $out"
