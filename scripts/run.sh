#!/usr/bin/env bash
# Builds Kelvorn and opens the viewer on the bundled sample mesh (or the file
# given). Without a display it draws the mesh into a PNG file instead.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
mesh="${1:-samples/tube.dxf}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    picture="build/release/$(basename "${mesh%.*}").png"
    echo "No display (neither DISPLAY nor WAYLAND_DISPLAY is set), so no window: drawing $mesh into a picture."
    build/release/tools/kelvorn-tool/kelvorn-tool render "$mesh" -o "$picture"
    echo "Picture of $mesh written to $picture"
    exit 0
fi
exec build/release/src/app/kelvorn "$mesh"
