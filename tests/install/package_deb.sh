#!/usr/bin/env bash
# The Debian package: made by CPack from the build tree, its control fields
# checked, then unpacked into a scratch root (never installed on this
# machine) and checked there like any installation.
#
# usage: package_deb.sh BUILD_DIR VERSION
set -euo pipefail

build=$1 version=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "package_deb: FAIL: $*" >&2
    exit 1
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$work/cpack.log")"
deb=$work/out/kelvorn_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $(basename "$deb") among: $(ls "$work/out")"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = kelvorn ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)'"
[ "$(field Section)" = graphics ] || fail "Section is '$(field Section)'"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer '$(field Maintainer)' is not NAME <EMAIL>"
description=$(field Description)
[ "$(wc -l <<<"$description")" -gt 1 ] || fail "Description has no long text"
# The Qt libraries the programs link, as dpkg-shlibdeps names their packages.
for library in libqt6core6 libqt6gui6 libqt6widgets6 libc6 libstdc++6; do
    [[ "$(field Depends)" == *"$library "* ]] || fail "Depends lacks $library: $(field Depends)"
done
# Nothing outside /usr, and no build-tree paths leaking into the file list.
if dpkg-deb --contents "$deb" | awk '{ print $6 }' | grep -v -e '^\./$' -e '^\./usr/' >"$work/stray"; then
    fail "files outside /usr: $(cat "$work/stray")"
fi

dpkg-deb -x "$deb" "$work/root"
bash "$(dirname "$0")/check_installed.sh" "$work/root" /usr "$version"
echo "package_deb: $(basename "$deb") depends on $(field Depends)"
