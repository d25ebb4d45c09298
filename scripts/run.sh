#!/usr/bin/env bash
# Builds Kelvorn and shows the bundled sample mesh (or the file given).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh >/dev/null
mesh="${1:-samples/cube.dxf}"
build/release/tools/kelvorn-tool/kelvorn-tool info "$mesh"
