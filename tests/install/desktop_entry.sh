#!/usr/bin/env bash
# The menu entry passes desktop-file-validate without an error, warning or hint.
#
# usage: desktop_entry.sh FILE.desktop
set -euo pipefail

report=$(desktop-file-validate "$1" 2>&1) || {
    echo "desktop_entry: FAIL: $1: $report" >&2
    exit 1
}
if [ -n "$report" ]; then
    echo "desktop_entry: FAIL: $1: $report" >&2
    exit 1
fi
echo "desktop_entry: $1 is valid"
