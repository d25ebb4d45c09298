#!/usr/bin/env bash
# Builds Kelvorn and runs its whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --preset release
