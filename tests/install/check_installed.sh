#!/usr/bin/env bash
# Checks an installed Kelvorn under ROOT (a DESTDIR or an unpacked package):
# every file at its place, the icon sizes, the menu entry, the MIME type and
# the manual pages valid, and the installed programs running from there.
#
# usage: check_installed.sh ROOT PREFIX VERSION
set -euo pipefail

root=$1 prefix=$2 version=$3
here=$(dirname "$0")
tree=$root$prefix
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "check_installed: FAIL: $*" >&2
    exit 1
}

need_file() { [ -f "$tree/$1" ] || fail "missing $prefix/$1"; }

# WIDTHxHEIGHT of a PNG file, from its IHDR chunk.
png_size() {
    od -An -tu1 -j16 -N8 "$1" |
        awk '{ printf "%dx%d", $1 * 16777216 + $2 * 65536 + $3 * 256 + $4, $5 * 16777216 + $6 * 65536 + $7 * 256 + $8 }'
}

check_layout() {
    for program in kelvorn kelvorn-tool; do
        [ -x "$tree/bin/$program" ] || fail "missing program $prefix/bin/$program"
        # Nothing may point back into the build tree.
        ! readelf -d "$tree/bin/$program" | grep -qE 'R(UN)?PATH' || fail "$program has an RPATH or RUNPATH"
    done
    for size in 16 32 48 64 128 256; do
        local icon=share/icons/hicolor/${size}x${size}/apps/kelvorn.png
        need_file "$icon"
        [ "$(png_size "$tree/$icon")" = "${size}x${size}" ] || fail "$icon is $(png_size "$tree/$icon")"
    done
    need_file share/icons/hicolor/scalable/apps/kelvorn.svg
    grep -q '<svg' "$tree/share/icons/hicolor/scalable/apps/kelvorn.svg" || fail "kelvorn.svg is no SVG"
    need_file share/applications/kelvorn.desktop
    need_file share/mime/packages/kelvorn.xml
    need_file share/man/man1/kelvorn.1.gz
    need_file share/man/man1/kelvorn-tool.1.gz
    for mesh in tube cube sphere cone cylinder; do need_file "share/doc/kelvorn/examples/$mesh.dxf"; done
}

check_desktop_integration() {
    local entry=$tree/share/applications/kelvorn.desktop
    bash "$here/desktop_entry.sh" "$entry"
    grep -qx 'Exec=kelvorn --flatten %f' "$entry" || fail "the menu entry does not run kelvorn on the file"
    grep -qx 'Icon=kelvorn' "$entry" || fail "the menu entry does not name the kelvorn icon"
    local type
    type=$(sed -n 's/^MimeType=\(.*\);$/\1/p' "$entry")
    grep -q "type=\"$type\"" "$tree/share/mime/packages/kelvorn.xml" ||
        fail "the menu entry's type '$type' is not the one the MIME entry declares"
    bash "$here/mime_type.sh" "$tree/share/mime/packages/kelvorn.xml"
    bash "$here/thumbnailer.sh" "$tree"
}

check_manual_pages() {
    for page in kelvorn kelvorn-tool; do
        local file=$tree/share/man/man1/$page.1.gz
        zcat "$file" >"$work/$page.1"
        groff -man -Tutf8 -ww -z "$work/$page.1" 2>"$work/groff.err"
        [ ! -s "$work/groff.err" ] || fail "$page.1: $(cat "$work/groff.err")"
        MANWIDTH=80 man -l "$file" >"$work/$page.txt" 2>/dev/null
        grep -q "^NAME" "$work/$page.txt" || fail "man -l $page.1.gz shows no NAME section"
        grep -q "Kelvorn $version" "$work/$page.txt" || fail "$page.1 does not carry version $version"
        # Every installed path a page names must be there.
        grep -o "$prefix/share/[^ ]*" "$work/$page.1" | sort -u | while read -r path; do
            [ -e "$root$path" ] || fail "$page.1 names $path, which is not installed"
        done
    done
}

check_programs() {
    local tool=$tree/bin/kelvorn-tool examples=$tree/share/doc/kelvorn/examples
    [ "$("$tool" --version)" = "kelvorn-tool $version" ] || fail "kelvorn-tool --version says '$("$tool" --version)'"
    local viewer_says
    viewer_says=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$tree/bin/kelvorn" --version)
    [ "$viewer_says" = "kelvorn $version" ] || fail "kelvorn --version says '$viewer_says'"
    "$tool" info "$examples/cube.dxf" | grep -qx 'faces  6' || fail "kelvorn-tool info does not count the cube's 6 faces"
    "$tool" render "$examples/sphere.dxf" --keys pgdn,home -o "$work/sphere.png" --size 64x48 ||
        fail "kelvorn-tool render failed"
    [ "$(png_size "$work/sphere.png")" = "64x48" ] || fail "render wrote a $(png_size "$work/sphere.png") picture"
}

check_layout
check_desktop_integration
check_manual_pages
check_programs
echo "check_installed: $tree holds a working Kelvorn $version"
