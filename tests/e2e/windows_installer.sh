#!/usr/bin/env bash
# The Windows packages under Wine in Xvfb, in one fresh prefix:
# - the portable zip: its files, and its kelvorn.exe run from the unpacked
#   folder drawing a sample as the Linux tool renders it;
# - the installer, silently into a folder of our choice (/S /D=): the files,
#   the versions, the Start-menu shortcut (started too), the .dxf
#   association and the uninstall entry; the installed kelvorn.exe draws a
#   sample as the Linux render, and "wine start" of a .dxf opens it in Kelvorn;
#   the silent uninstaller leaves nothing of Kelvorn, on disk or in the registry;
# - with .dxf already opened by another program (the machine's class, then
#   the user's choice), a silent install into the default folder leaves that
#   program the default, and the uninstaller leaves its association as it was.
#
# usage: windows_installer.sh PACKAGES_DIR LINUX_KELVORN_TOOL VERSION
set -euo pipefail

packages=$(realpath "$1") tool=$(realpath "$2") version=$3
here=$(dirname "$(realpath "$0")")
timeout_seconds=30
poll_interval=0.2
script_name=windows_installer
# shellcheck source=polling.sh
source "$here/polling.sh"

for program in wine wineserver Xvfb xdotool import convert compare python3 x86_64-w64-mingw32-windres; do
    command -v "$program" >/dev/null ||
        fail "$program is missing (scripts/install-deps.sh installs wine, xvfb, xdotool, imagemagick, mingw-w64)"
done
installer=$packages/kelvorn-$version-win64.exe zip=$packages/kelvorn-$version-win64.zip
[ -f "$installer" ] || fail "no installer $installer (cpack --preset windows makes it)"
[ -f "$zip" ] || fail "no portable zip $zip (cpack --preset windows makes it)"

work=$(mktemp -d /tmp/kelvorn-wine-setup.XXXXXX)
cleanup() {
    local status=$?
    stop_wine_in_xvfb
    if [ "$status" -eq 0 ]; then rm -rf "$work"; else
        rm -rf "$work/prefix"
        echo "windows_installer: screenshots and logs kept in $work" >&2
    fi
}
trap cleanup EXIT
started=$SECONDS

# --- helpers ---------------------------------------------------------------------

# expect_files DIR NAME...: DIR holds exactly the files NAME... (paths below DIR).
expect_files() {
    local dir=$1
    shift
    diff -u <(printf '%s\n' "$@" | sort) <(cd "$dir" && find . -type f | sed 's|^\./||' | sort) >&2 ||
        fail "$dir does not hold exactly the files expected (- missing, + unexpected)"
}
program_files=(kelvorn.exe kelvorn-tool.exe README.txt samples/cone.dxf samples/cube.dxf samples/cylinder.dxf
    samples/sphere.dxf)

# expect_version_resource EXE: EXE's version resource carries this version, as numbers and as text.
IFS=. read -r major minor patch tweak <<<"$version"
version_numbers="${major:-0}, ${minor:-0}, ${patch:-0}, ${tweak:-0}"
expect_version_resource() {
    x86_64-w64-mingw32-windres -J coff -O rc -i "$1" -o "$work/version.rc" || fail "windres cannot read $1"
    tr -d '\r' <"$work/version.rc" >"$work/version.txt"
    grep -qx " FILEVERSION $version_numbers" "$work/version.txt" || fail "$1: FILEVERSION is not $version_numbers"
    grep -qx " PRODUCTVERSION $version_numbers" "$work/version.txt" || fail "$1: PRODUCTVERSION is not $version_numbers"
    for key in FileVersion ProductVersion; do
        grep -qx "      VALUE \"$key\", \"$version\"" "$work/version.txt" || fail "$1: $key is not \"$version\""
    done
}

# wine_reg ARGS...: wine reg ARGS, its messages and errors on stdout. reg always
# says something, found or not; under heavy load a wine command now and then
# ends at once without running, and then says nothing: it runs once more.
wine_reg() {
    local output status=0
    output=$(wine reg "$@" 2>&1) || status=$?
    if [ -z "$output" ]; then
        status=0
        output=$(wine reg "$@" 2>&1) || status=$?
    fi
    printf '%s\n' "$output"
    return "$status"
}
# set_reg ARGS...: wine reg add ARGS, or fail.
set_reg() { wine_reg add "$@" /f >"$work/reg.log" || fail "cannot set a registry value: $(cat "$work/reg.log")"; }
# reg_value KEY NAME: the data of the value NAME of KEY ("" names the default
# value); fails when there is none (reg shows a missing default value as
# "(value not set)").
reg_value() {
    local selector=(/v "$2")
    [ -n "$2" ] || selector=(/ve)
    wine_reg query "$1" "${selector[@]}" | tr -d '\r' |
        sed -n 's/^    .*    REG_[A-Z_]*    \(.*\)$/\1/p' | grep -vx '(value not set)' || return 1
}
# expect_reg KEY NAME DATA: the value NAME of KEY is DATA.
expect_reg() {
    local data
    data=$(reg_value "$1" "$2") || fail "no value '${2:-(default)}' in $1"
    [ "$data" = "$3" ] || fail "$1 '${2:-(default)}' is '$data', expected '$3'"
}
no_reg_key() { ! wine_reg query "$1" >/dev/null || fail "$1 is still in the registry"; }

# kelvorn_traces: every registry line and file of the prefix naming Kelvorn,
# into $work/traces.txt. (regedit exports in a quarter of the time reg takes.)
kelvorn_traces() {
    local hive
    for hive in HKEY_LOCAL_MACHINE HKEY_CURRENT_USER; do
        rm -f "$work/hive.reg"
        wine regedit /E "Z:${work//\//\\}\\hive.reg" "$hive\\Software" >/dev/null 2>&1
        [ -s "$work/hive.reg" ] || fail "regedit cannot export $hive\\Software"
        iconv -f UTF-16 -t UTF-8 "$work/hive.reg" | tr -d '\r' | grep -i kelvorn || true
    done >"$work/traces.txt"
    find "$WINEPREFIX/drive_c" -iname '*kelvorn*' >>"$work/traces.txt"
}

# start_viewer TITLE_PATTERN COMMAND...: runs COMMAND and waits for a window
# whose name matches TITLE_PATTERN; its window in $window, its process in $viewer_pid.
start_viewer() {
    local pattern=$1
    shift
    "$@" >>"$work/kelvorn.log" 2>&1
    poll "a window titled $pattern" find_named "$pattern"
    window=$found
    viewer_pid=$(xdotool getwindowpid "$window") || fail "window $window has no process id"
}
# stop_viewer: ends the viewer started last and waits for its window to go.
stop_viewer() {
    kill "$viewer_pid" 2>/dev/null || true
    window_gone() { ! xdotool getwindowname "$window" >/dev/null 2>&1; }
    poll "the viewer's window to close" window_gone
}
# expect_picture NAME MESH [--flatten]: the viewer's client area shows the Linux render of MESH
# (with --flatten, of its drawing).
expect_picture() {
    render "$1" "$2" "" "${3:-}"
    poll "the picture of $(basename "$2") (compare $work/$1_shot.png with $work/$1.png)" matches "$1_shot" "$1"
}

# --- the portable zip ----------------------------------------------------------------
top=kelvorn-$version-win64
python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip" >"$work/zip.txt" ||
    fail "$zip is not a readable zip"
bad_names=$(grep -v "^$top/" "$work/zip.txt" || true)
[ -z "$bad_names" ] || fail "$(basename "$zip") holds files outside its folder $top/: $bad_names"
python3 -m zipfile -e "$zip" "$work/portable"
expect_files "$work/portable/$top" "${program_files[@]}"
expect_version_resource "$work/portable/$top/kelvorn.exe"
expect_version_resource "$work/portable/$top/kelvorn-tool.exe"
echo "windows_installer: $(basename "$zip") holds $top/ with the programs, README.txt and the samples"

start_wine_in_xvfb
tool_says=$(wine "$work/portable/$top/kelvorn-tool.exe" --version | tr -d '\r')
[ "$tool_says" = "kelvorn-tool $version" ] || fail "the portable kelvorn-tool.exe --version says '$tool_says'"
cd "$work/portable/$top"
start_viewer '^Kelvorn: samples.cube\.dxf$' wine start kelvorn.exe 'samples\cube.dxf'
measure_client_area "$window"
expect_picture portable_cube "$work/portable/$top/samples/cube.dxf"
stop_viewer
cd "$work"
echo "windows_installer: the unpacked kelvorn.exe draws samples\\cube.dxf as the Linux render"

# --- installing silently into a folder of our choice -------------------------------------
expect_version_resource "$installer"
wine "$installer" /S '/D=C:\Apps\Kelvorn' || fail "the silent install failed"
folder=$WINEPREFIX/drive_c/Apps/Kelvorn
expect_files "$folder" "${program_files[@]}" Uninstall.exe
expect_version_resource "$folder/kelvorn.exe"
grep -q "^Kelvorn $version"$'\r$' "$folder/README.txt" || fail "README.txt does not start with 'Kelvorn $version' (CR LF)"
cmp -s "$folder/samples/sphere.dxf" "$here/../../samples/sphere.dxf" || fail "the installed sphere.dxf is not the sample"
echo "windows_installer: /S /D=C:\\Apps\\Kelvorn installed the programs, README.txt, the samples and Uninstall.exe"

uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvorn'
publisher=$(sed -n 's/^      VALUE "CompanyName", "\(.*\)"$/\1/p' "$work/version.txt")
expect_reg "$uninstall_key" DisplayName Kelvorn
expect_reg "$uninstall_key" DisplayVersion "$version"
expect_reg "$uninstall_key" Publisher "$publisher"
expect_reg "$uninstall_key" DisplayIcon 'C:\Apps\Kelvorn\kelvorn.exe'
expect_reg "$uninstall_key" UninstallString '"C:\Apps\Kelvorn\Uninstall.exe"'
echo "windows_installer: the uninstall entry names Kelvorn $version by $publisher with the viewer's icon"

classes='HKLM\Software\Classes'
expect_reg "$classes\\.dxf" '' Kelvorn.dxf
expect_reg "$classes\\.dxf\\OpenWithProgids" Kelvorn.dxf ''
expect_reg "$classes\\Kelvorn.dxf\\shell\\open" '' 'Open with Kelvorn'
expect_reg "$classes\\Kelvorn.dxf\\shell\\open\\command" '' '"C:\Apps\Kelvorn\kelvorn.exe" --flatten "%1"'
expect_reg "$classes\\Kelvorn.dxf\\DefaultIcon" '' 'C:\Apps\Kelvorn\kelvorn.exe,0'
echo "windows_installer: .dxf opens with Kelvorn ('Open with Kelvorn', the viewer's icon)"

# Installing again first runs the installed uninstaller: one Kelvorn, still associated.
wine "$installer" /S '/D=C:\Apps\Kelvorn' || fail "the silent install over an installed Kelvorn failed"
expect_files "$folder" "${program_files[@]}" Uninstall.exe
expect_reg "$classes\\.dxf" '' Kelvorn.dxf
expect_reg "$classes\\Kelvorn.dxf\\shell\\open\\command" '' '"C:\Apps\Kelvorn\kelvorn.exe" --flatten "%1"'
expect_reg "$uninstall_key" DisplayVersion "$version"
echo "windows_installer: installing over it again left one Kelvorn, .dxf still opening with it"

start_menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kelvorn"
python3 "$here/shortcut_fields.py" "$start_menu/Kelvorn.lnk" >"$work/shortcut.txt"
for field in 'target=C:\Apps\Kelvorn\kelvorn.exe' 'icon=C:\Apps\Kelvorn\kelvorn.exe,0'; do
    grep -qxF "$field" "$work/shortcut.txt" || fail "the Start-menu shortcut lacks $field: $(cat "$work/shortcut.txt")"
done
start_viewer '^Kelvorn$' wine start 'C:\ProgramData\Microsoft\Windows\Start Menu\Programs\Kelvorn\Kelvorn.lnk'
stop_viewer
echo "windows_installer: the Start-menu shortcut Kelvorn starts kelvorn.exe and shows its KELVORN icon"

kelvorn_traces
grep -qF '[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvorn]' "$work/traces.txt" ||
    fail "the search for traces of Kelvorn misses its uninstall entry while it is installed"
grep -q '/drive_c/Apps/Kelvorn/kelvorn\.exe$' "$work/traces.txt" ||
    fail "the search for traces of Kelvorn misses kelvorn.exe while it is installed"

start_viewer '^Kelvorn: C:.Apps.Kelvorn.samples.sphere\.dxf$' wine start 'C:\Apps\Kelvorn\kelvorn.exe' \
    'C:\Apps\Kelvorn\samples\sphere.dxf'
expect_picture installed_sphere "$folder/samples/sphere.dxf"
stop_viewer
echo "windows_installer: the installed kelvorn.exe draws samples\\sphere.dxf as the Linux render"

# Opened by its association, a drawing shows as CAD programs show it: its
# blocks placed, its polyface mesh drawn.
mkdir "$work/models"
cp "$here/../data/view/panels_drawing.dxf" "$work/models/model.dxf"
cd "$work/models"
start_viewer '^Kelvorn: .*\\model\.dxf$' wine start model.dxf
expect_picture opened_model "$work/models/model.dxf" --flatten
stop_viewer
cd "$work"
echo "windows_installer: 'wine start model.dxf' opened the drawing in Kelvorn as the render with --flatten"

# --- uninstalling silently ----------------------------------------------------------------
# The uninstaller runs on from a copy of itself, so its work is awaited: the
# Start-menu folder is the last thing it removes.
wine 'C:\Apps\Kelvorn\Uninstall.exe' /S || fail "the silent uninstall failed"
uninstalled() { [ ! -e "$folder" ] && [ ! -e "$start_menu" ]; }
poll "the uninstaller to remove C:\\Apps\\Kelvorn and the Start-menu folder" uninstalled
kelvorn_traces
[ ! -s "$work/traces.txt" ] || fail "after uninstalling, Kelvorn is still named by: $(cat "$work/traces.txt")"
no_reg_key "$classes\\.dxf" # the installer made it; what named Kelvorn.dxf in it is checked above
echo "windows_installer: the silent uninstall left nothing of Kelvorn (files, shortcut, association, entry)"

# --- another program's association stays -----------------------------------------------------
other_command='"C:\windows\system32\notepad.exe" "%1"'
set_reg "$classes\\.dxf" /ve /d OtherCad.dxf
set_reg "$classes\\.dxf" /v 'Content Type' /d image/vnd.dxf
set_reg "$classes\\OtherCad.dxf\\shell\\open\\command" /ve /d "$other_command"
expect_reg "$classes\\.dxf" '' OtherCad.dxf

wine "$installer" /S || fail "the silent install into the default folder failed"
expect_files "$WINEPREFIX/drive_c/Program Files/Kelvorn" "${program_files[@]}" Uninstall.exe
expect_reg "$classes\\.dxf" '' OtherCad.dxf
expect_reg "$classes\\.dxf\\OpenWithProgids" Kelvorn.dxf ''
expect_reg "$classes\\Kelvorn.dxf\\shell\\open\\command" '' '"C:\Program Files\Kelvorn\kelvorn.exe" --flatten "%1"'
echo "windows_installer: into C:\\Program Files\\Kelvorn; .dxf stays with OtherCad.dxf, Kelvorn is in 'Open with'"

wine 'C:\Program Files\Kelvorn\Uninstall.exe' /S || fail "the second silent uninstall failed"
# The association goes first, the uninstall entry near the end.
entry_gone() { ! wine_reg query "$uninstall_key" >/dev/null; }
poll "the uninstaller to remove its uninstall entry" entry_gone
expect_reg "$classes\\.dxf" '' OtherCad.dxf
expect_reg "$classes\\.dxf" 'Content Type' image/vnd.dxf
expect_reg "$classes\\OtherCad.dxf\\shell\\open\\command" '' "$other_command"
no_reg_key "$classes\\.dxf\\OpenWithProgids"
no_reg_key "$classes\\Kelvorn.dxf"
echo "windows_installer: the uninstall left OtherCad.dxf's association of .dxf as it was"

# --- the user's own choice stays ------------------------------------------------------------
user_choice='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\FileExts\.dxf\UserChoice'
wine_reg delete "$classes\\.dxf" /ve /f >"$work/reg.log" || fail "cannot clear .dxf's default: $(cat "$work/reg.log")"
set_reg "$user_choice" /v ProgId /d OtherCad.dxf
wine "$installer" /S || fail "the silent install beside the user's choice failed"
! reg_value "$classes\\.dxf" '' >/dev/null || fail "the installer made Kelvorn the default of .dxf over the user's choice"
expect_reg "$classes\\.dxf\\OpenWithProgids" Kelvorn.dxf ''
wine 'C:\Program Files\Kelvorn\Uninstall.exe' /S || fail "the third silent uninstall failed"
poll "the uninstaller to remove its uninstall entry" entry_gone
expect_reg "$user_choice" ProgId OtherCad.dxf
echo "windows_installer: with the user's choice OtherCad.dxf, the machine's default of .dxf stayed unset"
echo "windows_installer: done in $((SECONDS - started))s"
