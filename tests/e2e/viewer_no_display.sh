#!/usr/bin/env bash
# The viewer without a display it can reach: one line on stderr naming the
# cause, a non-zero exit status, and no hang.
#
# usage: viewer_no_display.sh KELVORN MESH
set -euo pipefail

viewer=$1 mesh=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "viewer_no_display: FAIL: $*" >&2
    exit 1
}

# expect_refusal WHAT PATTERN ENV...: runs the viewer with ENV and checks its end.
expect_refusal() {
    local what=$1 pattern=$2
    shift 2
    local status=0
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" timeout 20 "$viewer" "$mesh" >"$work/out" 2>"$work/err" ||
        status=$?
    [ "$status" -ne 0 ] || fail "$what: exit status 0"
    [ "$status" -ne 124 ] || fail "$what: still running after 20 s"
    [ "$(wc -l <"$work/err")" -eq 1 ] || fail "$what: expected one line on stderr, got: $(cat "$work/err")"
    grep -q "$pattern" "$work/err" || fail "$what: stderr does not say '$pattern': $(cat "$work/err")"
    echo "viewer_no_display: $what: status $status, '$(cat "$work/err")'"
}

expect_refusal "no display set" "no display"
# A display number no server listens on (Unix socket only, so nothing answers).
expect_refusal "unreachable display" "could not connect to display" DISPLAY=:4711
