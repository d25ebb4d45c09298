#!/usr/bin/env bash
# The manual pages as configured in the build tree: groff finds nothing to
# warn about, and kelvorn-tool.1 has every command in its synopsis and every
# option that the command's own --help lists.
#
# usage: man_pages.sh MAN_DIR KELVORN_TOOL
set -euo pipefail

pages=$1 tool=$2
status=0

fail() {
    echo "man_pages: FAIL: $*" >&2
    status=1
}

for page in "$pages"/*.1; do
    warnings=$(groff -man -Tutf8 -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done

# The page's text with roff's escaped minus signs as the plain ones users type.
text=$(sed 's/\\-/-/g' "$pages/kelvorn-tool.1")
commands=$("$tool" --help | sed -n '/^commands:/,$ s/^  \([a-z]*\) .*/\1/p')
[ -n "$commands" ] || fail "kelvorn-tool --help lists no commands"
for command in $commands; do
    grep -qx "\.B kelvorn-tool $command" <<<"$text" || fail "the synopsis lacks 'kelvorn-tool $command'"
    for option in $("$tool" "$command" --help | grep -oE -- '(^|[ [(])--?[a-z][a-z0-9]*' | grep -oE -- '--?[a-z0-9]+' | sort -u); do
        [ "$option" = -h ] || grep -qE -- "(^|[ \"])$option( |\"|\$)" <<<"$text" ||
            fail "kelvorn-tool.1 does not describe '$command $option'"
    done
done
[ "$status" -eq 0 ] && echo "man_pages: the pages are warning-free and complete"
exit "$status"
