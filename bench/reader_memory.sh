#!/usr/bin/env bash
# Peak resident memory of loading a one-million-face file, LF and CR LF.
# Run after building the release tree: bench/reader_memory.sh
set -euo pipefail
cd "$(dirname "$0")/.."
program=build/release/bench/reader_peak_memory
[ -x "$program" ] || { echo "build first: cmake --build --preset release" >&2; exit 1; }
status=0
"$program" lf || status=1
"$program" crlf || status=1
exit $status
