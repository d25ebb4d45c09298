#!/usr/bin/env bash
# Runs the installed thumbnailer as a file manager does and checks the picture.
# The Exec line of share/thumbnailers/kelvorn.thumbnailer is split into words
# with shell quoting (as GLib's g_shell_parse_argv does), then %i, %o, %s, %u
# and %% are put into each word, and the program is found on PATH (the tree's
# bin first). The PNG it writes must be square at the size asked for, white
# with the model drawn in black, fitted, and seen from an angle: an upright
# wall, a line from above, shows as an outline with an inside. A file whose
# faces are a polyface mesh (which the viewer does not read) is drawn too, as
# CAD programs show it.
#
# usage: thumbnailer.sh TREE   (the installed prefix, DESTDIR included)
set -euo pipefail

tree=$1
here=$(dirname "$(realpath "$0")")
entry=$tree/share/thumbnailers/kelvorn.thumbnailer
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "thumbnailer: FAIL: $*" >&2
    exit 1
}

[ -f "$entry" ] || fail "missing share/thumbnailers/kelvorn.thumbnailer"
key() { sed -n "s/^$1=//p" "$entry"; }
[ "$(head -n1 "$entry")" = "[Thumbnailer Entry]" ] || fail "the file does not begin with [Thumbnailer Entry]"
[ "$(key MimeType)" = "image/vnd.dxf;" ] || fail "MimeType is '$(key MimeType)', not 'image/vnd.dxf;'"
[ -x "$tree/bin/$(key TryExec)" ] || fail "TryExec names '$(key TryExec)', which is not installed"

# thumbnail INPUT SIZE OUTPUT: the Exec line run on INPUT.
thumbnail() {
    python3 "$here/../e2e/desktop_exec.py" "$(key Exec)" "i=$1" "s=$2" "o=$3" >"$work/argv"
    local -a argv
    mapfile -d '' argv <"$work/argv"
    PATH="$tree/bin:$PATH" "${argv[@]}"
}

# A name with spaces in a folder with spaces, and the output name GNOME's
# thumbnail factory uses.
mkdir "$work/CAD files"
input="$work/CAD files/Upright Wall.dxf"
printf '0\nSECTION\n2\nENTITIES\n0\n3DFACE\n8\n0\n%b\n0\nENDSEC\n0\nEOF\n' \
    "10\n0\n20\n0\n30\n0\n11\n2\n21\n0\n31\n0\n12\n2\n22\n0\n32\n1\n13\n0\n23\n0\n33\n1" >"$input"
output=$work/gnome-desktop-thumbnailer-Xq3Z1a.png
thumbnail "$input" 128 "$output" || fail "the Exec line '$(key Exec)' failed"

[ "$(identify -format '%m %wx%h' "$output")" = "PNG 128x128" ] ||
    fail "the thumbnail is $(identify -format '%m %wx%h' "$output"), not a 128x128 PNG"
# Fitted as the viewer fits: from column 0 and the bottom row, and up to row 1
# or column 126 (the client size less 2; a line leaves out its end pixel).
box=$(convert "$output" -format '%@' info:) # the drawing's bounding box, WxH+X+Y
read -r box_width box_height left top <<<"${box//[x+]/ }"
if [ "$left" -ne 0 ] || [ $((top + box_height)) -ne 128 ]; then fail "the drawing $box is not anchored bottom-left"; fi
[ "$top" -le 2 ] || [ "$box_width" -ge 126 ] || fail "the drawing $box does not fill the picture"
black=$(convert "$output" -colorspace gray -threshold 50% -format '%[fx:round((1-mean)*w*h)]' info:)
if [ "$black" -lt 100 ] || [ "$black" -gt 3000 ]; then fail "$black black pixels: not a white picture with a wireframe"; fi
# The column through the middle of the drawing crosses the wall's outline
# twice; it would cross the line that the wall is from above once.
middle=$((left + box_width / 2))
crossings=$(convert "$output" -crop "1x128+$middle+0" -colorspace gray -threshold 50% -depth 8 gray:- | od -An -tu1 -v |
    awk '{ for (i = 1; i <= NF; ++i) { if ($i == 0 && previous != 0) ++runs; previous = $i } } END { print runs + 0 }')
[ "$crossings" -ge 2 ] || fail "column $middle crosses the drawing $crossings times: the wall is not seen from an angle"
echo "thumbnailer: '$(key Exec)' drew a fitted 128x128 PNG of $input, seen from an angle"

# The same wall as a polyface mesh: four vertices (flags 192) and one face
# record (flag 128) joining them.
vertex() { printf '0\nVERTEX\n8\n0\n10\n%s\n20\n0\n30\n%s\n70\n192\n' "$1" "$2"; }
{
    printf '0\nSECTION\n2\nENTITIES\n0\nPOLYLINE\n8\n0\n66\n1\n70\n64\n71\n4\n72\n1\n'
    vertex 0 0 && vertex 2 0 && vertex 2 1 && vertex 0 1
    printf '0\nVERTEX\n8\n0\n10\n0\n20\n0\n30\n0\n70\n128\n71\n1\n72\n2\n73\n3\n74\n4\n'
    printf '0\nSEQEND\n8\n0\n0\nENDSEC\n0\nEOF\n'
} >"$work/CAD files/Polyface Wall.dxf"
thumbnail "$work/CAD files/Polyface Wall.dxf" 96 "$work/polyface.png" || fail "the Exec line failed on a polyface mesh"
[ "$(identify -format '%wx%h' "$work/polyface.png")" = 96x96 ] || fail "the polyface thumbnail is not 96x96"
black=$(convert "$work/polyface.png" -colorspace gray -threshold 50% -format '%[fx:round((1-mean)*w*h)]' info:)
[ "$black" -gt 100 ] || fail "the polyface mesh is not drawn ($black black pixels)"
echo "thumbnailer: a file of one polyface mesh is drawn too ($black black pixels at 96x96)"
