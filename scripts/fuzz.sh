#!/usr/bin/env bash
# Builds the libFuzzer programs with clang and runs each for a bounded time
# (FUZZ_SECONDS, default 30), or for FUZZ_RUNS runs when that is set (a long
# run: FUZZ_RUNS=10000000), over a scratch copy of its seed corpus. A crash
# is saved under fuzz/regressions/TARGET/ (replayed by every test run from
# then on) and fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
limit="-max_total_time=${FUZZ_SECONDS:-30}"
[ -n "${FUZZ_RUNS:-}" ] && limit="-runs=$FUZZ_RUNS"
targets=$(sed -n 's/^kelvorn_fuzz_target(\([a-z_]*\).*/\1/p' fuzz/CMakeLists.txt)

cmake --preset fuzz >/dev/null
for target in $targets; do cmake --build --preset fuzz --target "${target}_fuzz" >/dev/null; done

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
for target in $targets; do
    mkdir -p "$scratch/$target"
    cp fuzz/corpus/"$target"/* "$scratch/$target/"
    log="$scratch/$target.log"
    if build/fuzz/fuzz/"${target}_fuzz" "$limit" -max_len=8192 -timeout=10 \
        -artifact_prefix="$scratch/$target-" "$scratch/$target" >"$log" 2>&1; then
        echo "fuzz $target: $(grep -E '^Done [0-9]+ runs' "$log")"
    else
        status=1
        tail -n 40 "$log"
        for artifact in "$scratch/$target"-*; do
            [ -e "$artifact" ] && cp "$artifact" fuzz/regressions/"$target"/ && echo "saved $(basename "$artifact")"
        done
        echo "fuzz $target: FAILED"
    fi
done
exit $status
