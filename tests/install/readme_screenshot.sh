#!/usr/bin/env bash
# docs/screenshot.png is what the render command written beside it in the
# README draws today, pixel for pixel.
#
# usage: readme_screenshot.sh SOURCE_DIR KELVORN_TOOL
set -euo pipefail

source_dir=$1 tool=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "readme_screenshot: FAIL: $*" >&2
    exit 1
}

command=$(grep -x 'kelvorn-tool render .* -o docs/screenshot.png .*' "$source_dir/README.md") ||
    fail "README.md has no 'kelvorn-tool render ... -o docs/screenshot.png' line"
read -r -a words <<<"${command#kelvorn-tool }"
for i in "${!words[@]}"; do
    [ "${words[$i]}" != docs/screenshot.png ] || words[i]=$work/screenshot.png
done
(cd "$source_dir" && "$tool" "${words[@]}") || fail "the README's command failed: $command"
differing=$(compare -metric AE "$source_dir/docs/screenshot.png" "$work/screenshot.png" null: 2>&1) || true
[ "$differing" = 0 ] || fail "docs/screenshot.png differs from what '$command' draws: $differing pixels"
echo "readme_screenshot: docs/screenshot.png is what '$command' draws"
