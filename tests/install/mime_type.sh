#!/usr/bin/env bash
# The MIME entry on its own makes *.dxf (in any case) image/vnd.dxf; with
# --beside-system also: beside the system's own database it changes nothing,
# no complaint from update-mime-database and the same answer for *.dxf.
#
# usage: mime_type.sh KELVORN.XML [--beside-system]
set -euo pipefail

entry=$1 beside_system=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "mime_type: FAIL: $*" >&2
    exit 1
}

# build DIR PACKAGE...: a MIME database in DIR/mime made from the package files given.
build() {
    local dir=$1
    shift
    mkdir -p "$dir/mime/packages"
    cp "$@" "$dir/mime/packages/"
    # DIR as the only data directory, so the tool has nothing to say but trouble;
    # a scratch database needs no fsync of its hundreds of files.
    PKGSYSTEM_ENABLE_FSYNC=0 XDG_DATA_HOME="$dir" XDG_DATA_DIRS="$dir" update-mime-database "$dir/mime" >"$dir.log" 2>&1 ||
        fail "update-mime-database: $(cat "$dir.log")"
    [ ! -s "$dir.log" ] || fail "update-mime-database: $(cat "$dir.log")"
}

# The globs2 lines for *.dxf: weight:type:pattern, with ":cs" when case-sensitive.
dxf_globs() { grep -i ':\*\.dxf' "$1/mime/globs2" | sort -u; }

cp "$entry" "$work/kelvorn.xml"
build "$work/alone" "$work/kelvorn.xml"
[ "$(dxf_globs "$work/alone")" = "50:image/vnd.dxf:*.dxf" ] || fail "on its own *.dxf gives: $(dxf_globs "$work/alone")"

system=/usr/share/mime/packages/freedesktop.org.xml
if [ "$beside_system" = --beside-system ] && [ -f "$system" ]; then
    build "$work/system" "$system"
    build "$work/both" "$system" "$work/kelvorn.xml"
    [ "$(dxf_globs "$work/both")" = "$(dxf_globs "$work/system")" ] ||
        fail "beside the system's database *.dxf gives '$(dxf_globs "$work/both")', not '$(dxf_globs "$work/system")'"
    echo "mime_type: beside $system the entry changes nothing"
fi
echo "mime_type: $entry declares image/vnd.dxf for *.dxf"
