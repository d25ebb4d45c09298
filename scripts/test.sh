#!/usr/bin/env bash
# Builds Kelvorn and runs its whole test suite: the optimized build, the same
# suite under AddressSanitizer and UndefinedBehaviorSanitizer, and a bounded
# fuzzing run of every fuzz target, then the Windows build's tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --preset release

cmake --preset asan >/dev/null
cmake --build --preset asan
ctest --preset asan

scripts/fuzz.sh

# The Windows build: cross-built, its tests and the end-to-end run under Wine.
scripts/test-windows.sh
