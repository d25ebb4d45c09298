#!/usr/bin/env bash
# Cross-builds the Windows programs with MinGW-w64, runs the core test suites
# under Wine in a fresh prefix, runs the end-to-end test of kelvorn.exe
# against the Linux tool's render, and makes and tries the installer and the
# portable zip.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh # the Linux tool, and the packages the cross build needs
python3 resources/make_icon.py --check # the icon is the picture in kelvorn_icon.xpm
cmake --preset windows >/dev/null
cmake --build --preset windows

work=$(mktemp -d /tmp/kelvorn-wine-tests.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
script_name=test-windows
# shellcheck source=../tests/e2e/polling.sh
source tests/e2e/polling.sh
stop_wine() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap stop_wine EXIT
# A persistent server, and Wine's own background programs started here with
# their output away from the pipes through which CTest reads each test.
boot_fresh_prefix --persistent || boot_fresh_prefix --persistent ||
    fail "wineboot failed twice: $(cat "$work/wineboot.log")"
# Under the same load a test process now and then ends at once with no output
# at all (its executable passed every other test of the run): a failing test
# runs once more, and fails only when it fails again.
ctest --preset windows --repeat until-pass:2

# Every sample, read, fitted and turned on each side, gives the same lines.
for mesh in samples/*.dxf; do
    for keys in "" "--keys pgdn,home*2,del" "--keys drag:37:-21,shiftdrag:13:5,wheel:120:300:200,wheel:-60:10:700,pan:-7:9" \
        "--keys pgdn,iso,end,front,drag:37:-21,right,top"; do
        # shellcheck disable=SC2086 # the keys option is two words or none
        cmp <(wine build/windows/tools/kelvorn-tool/kelvorn-tool.exe segments 1021 733 "$mesh" $keys | tr -d '\r') \
            <(build/release/tools/kelvorn-tool/kelvorn-tool segments 1021 733 "$mesh" $keys) ||
            { echo "test-windows: the Windows and Linux segments of $mesh (${keys:-no keys}) differ" >&2; exit 1; }
    done
done
echo "test-windows: the Windows and Linux tools draw the same lines for every sample"
stop_wine
trap - EXIT

bash tests/e2e/windows_wine.sh build/windows/src/app/kelvorn.exe build/release/tools/kelvorn-tool/kelvorn-tool \
    samples/cube.dxf samples/sphere.dxf

cpack --preset windows
bash tests/e2e/windows_installer.sh build/windows/packages build/release/tools/kelvorn-tool/kelvorn-tool \
    "$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)"
