#!/usr/bin/env bash
# "cmake --install" of the build tree into a scratch DESTDIR, then the
# installed files checked and the installed programs run.
#
# usage: install_destdir.sh BUILD_DIR PREFIX VERSION
set -euo pipefail

build=$1 prefix=$2 version=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

DESTDIR=$root cmake --install "$build" >"$root.log" || {
    cat "$root.log" >&2
    rm -f "$root.log"
    exit 1
}
rm -f "$root.log"
bash "$(dirname "$0")/check_installed.sh" "$root" "$prefix" "$version"
