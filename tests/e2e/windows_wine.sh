#!/usr/bin/env bash
# End-to-end run of the Windows viewer (kelvorn.exe) under Wine in Xvfb: check
# the resources of the .exe, start it on a mesh, read its title, compare its
# client area with the Linux tool's render of the same file and size, turn it
# with Page Down, reload with F12, show the standard views with the digit
# keys, turn, zoom and pan it with real pointer events (drags, wheel buttons 4
# and 5, a double-click), open the help with Alt+H, read another file through
# the "DXF file?" dialog, find that a failed reload keeps the picture and says
# why, leave with Alt+X (exit status 0), and find that an unknown option and an
# over-long argument are refused. Then open a CAD drawing as the file
# association does (--flatten) and find the render with --flatten, switch
# readings with F, and answer Yes to the question that a file with no 3DFACE
# but a drawing of faces asks.
#
# The Wine prefix is made fresh under /tmp for each run (start_wine_in_xvfb).
# Only this prefix's Wine server and the Xvfb started here are stopped.
#
# usage: windows_wine.sh KELVORN_EXE LINUX_KELVORN_TOOL MESH [SECOND_MESH]
set -euo pipefail

exe=$(realpath "$1") tool=$(realpath "$2") mesh=$(realpath "$3")
second_mesh=$(realpath "${4:-$(dirname "$3")/sphere.dxf}")
drawing=$(realpath "$(dirname "$0")/../data/view/panels_drawing.dxf")
timeout_seconds=30
poll_interval=0.2
script_name=windows_wine
# shellcheck source=polling.sh
source "$(dirname "$0")/polling.sh"

for program in wine wineserver Xvfb xdotool import convert compare x86_64-w64-mingw32-windres; do
    command -v "$program" >/dev/null ||
        fail "$program is missing (scripts/install-deps.sh installs wine, xvfb, xdotool, imagemagick, mingw-w64)"
done

# A lower-case name: the file dialog lower-cases the chosen path.
work=/tmp/kelvorn-wine-e2e-$$-$RANDOM
mkdir "$work" || fail "cannot make $work"
cleanup() {
    local status=$?
    stop_wine_in_xvfb
    if [ "$status" -eq 0 ]; then rm -rf "$work"; else
        rm -rf "$work/prefix"
        echo "windows_wine: screenshots and logs kept in $work" >&2
    fi
}
trap cleanup EXIT

# --- resources of the executable ---------------------------------------------
x86_64-w64-mingw32-windres -J coff -O rc -i "$exe" -o "$work/resources.rc" ||
    fail "windres cannot read the resources of $exe"
tr -d '\r' <"$work/resources.rc" | awk '/^"KELVORN" MENU/,/^END/' | grep MENUITEM >"$work/menu.txt" || true
printf '  MENUITEM "&read meshfile", 257\n  MENUITEM "e&xit", 256\n  MENUITEM "&help", 258\n' >"$work/menu.expected"
diff -u "$work/menu.expected" "$work/menu.txt" >&2 || fail "the KELVORN menu of $exe is not the three plain items"
grep -q '^"KELVORN" 14 /\* RT_GROUP_ICON \*/' "$work/resources.rc" || fail "$exe has no icon group KELVORN"
grep -q '"\\040\\040\\020\\000", 1, 4,' "$work/resources.rc" ||
    fail "the KELVORN icon is not one 32x32 image of 16 colours"
[ "$(grep -c 'Element no' "$work/resources.rc")" -eq 1 ] || fail "the KELVORN icon has more than one image"
echo "windows_wine: resources: menu KELVORN (257, 256, 258) and icon KELVORN (32x32, 16 colours)"

# --- Wine prefix and X server --------------------------------------------------
start_wine_in_xvfb

# --- --help and --version: answered on standard output, opening no window ------
for option in --help -h --version; do
    wine "$exe" "$option" >"$work/answer.txt" 2>"$work/answer.log" ||
        fail "kelvorn.exe $option failed: $(cat "$work/answer.log")"
    case $option in
    --version) expected='^kelvorn [0-9]+\.[0-9]+\.[0-9]+$' ;;
    *) expected='^usage: kelvorn \[--flatten\] \[FILE\]$' ;;
    esac
    tr -d '\r' <"$work/answer.txt" | head -n1 | grep -Eq "$expected" ||
        fail "kelvorn.exe $option printed: $(head -c 300 "$work/answer.txt")"
done
echo "windows_wine: --help, -h and --version answered on standard output"
status=0
wine "$exe" --bogus first.dxf >"$work/answer.txt" 2>"$work/refusal.txt" || status=$?
[ "$status" -eq 2 ] || fail "kelvorn.exe --bogus ended with status $status, expected 2"
tr -d '\r' <"$work/refusal.txt" | head -n1 | grep -q "^kelvorn: unknown option '--bogus'" ||
    fail "kelvorn.exe --bogus said: $(head -c 300 "$work/refusal.txt")"
tr -d '\r' <"$work/refusal.txt" | grep -q '^usage: kelvorn \[--flatten\] \[FILE\]$' || fail "kelvorn.exe --bogus gave no usage"
echo "windows_wine: --bogus refused on standard error with the usage, status 2"

# --- the viewer ------------------------------------------------------------------
cp "$mesh" "$work/first.dxf"
cp "$second_mesh" "$work/second.dxf"
cd "$work"
wine "$exe" first.dxf >"$work/kelvorn.log" 2>&1 &
viewer_pid=$!

poll "the viewer's window titled 'Kelvorn: ...'" find_named '^Kelvorn: '
window=$found
title=$(xdotool getwindowname "$window")
[ "$title" = "Kelvorn: first.dxf" ] || fail "title is '$title', expected 'Kelvorn: first.dxf'"
echo "windows_wine: window $window titled '$title'"

measure_client_area "$window"

# focused: the main window has the keyboard focus; if not, click an empty
# spot of its client area (the bottom-right corner, right of the picture).
focused() {
    has_focus "$window" && return 0
    xdotool mousemove $((client_width - 3)) $((client_top + client_height - 3)) click 1 2>/dev/null || true
    return 1
}

render initial first.dxf
poll "the first picture (compare $work/first_shot.png with $work/initial.png)" matches first_shot initial
echo "windows_wine: client area ${client_width}x${client_height} at row $client_top matches the Linux render"

poll "keyboard focus on the viewer" focused
xdotool key Next
render turned first.dxf pgdn
poll "the turned picture after Page Down" matches after_pgdn turned
echo "windows_wine: Page Down turned the picture as the render with 'pgdn'"

poll "keyboard focus on the viewer" focused
xdotool key F12
poll "the first picture again after F12" matches after_f12 initial
echo "windows_wine: F12 brought the first picture back"

# The standard views, on the main row's digits and the keypad's (Num Lock on:
# VK_NUMPAD4), each from whatever turn came before.
poll "keyboard focus on the viewer" focused
xdotool key Next 2
render front first.dxf pgdn,front
poll "the front view after Page Down" matches after_front front
xdotool key Num_Lock KP_4 Num_Lock
render iso first.dxf pgdn,front,iso
poll "the isometric view from the keypad" matches after_iso iso
xdotool key End 3
render right first.dxf pgdn,front,iso,end,right
poll "the right side view after End" matches after_right right
poll "keyboard focus on the viewer" focused
xdotool key F12
poll "the first picture again after the views and F12" matches after_views_f12 initial
echo "windows_wine: the keys 2, keypad 4 and 3 showed the renders of front, iso and right"

# --- the mouse: each motion one pointer event, as under X ---------------------
steps=
# at X Y: the pointer on client pixel (X, Y).
at() { xdotool mousemove "$1" $(($2 + client_top)); }
# did NAME STEP: STEP was done; the client area comes to show the render of all steps so far.
did() {
    steps=${steps:+$steps,}$2
    render "$1-expected" first.dxf "$steps"
    poll "the picture after '$steps' (compare $work/$1.png with $work/$1-expected.png)" matches "$1" "$1-expected"
}
poll "keyboard focus on the viewer" focused
at 300 200
xdotool mousedown 1 && at 360 170 && xdotool mouseup 1
did left_drag drag:60:-30
at 150 120
xdotool click 4
did wheel_away wheel:120:150:120
at 400 250
xdotool click 5
did wheel_towards wheel:-120:400:250
xdotool mousedown 2 && at 370 290 && xdotool mouseup 2
did middle_drag pan:-30:40
xdotool click --repeat 2 --delay 80 1
did double_click dblclick
echo "windows_wine: a drag, wheel notches, a pan and a double-click showed the render of '$steps'"
xdotool key F12
poll "the first picture again after F12" matches after_mouse_f12 initial
echo "windows_wine: F12 brought the first picture back after the mouse"

poll "keyboard focus on the viewer" focused
xdotool key alt+h
poll "the help box (Alt+H)" find_named '^HELP$'
poll "keyboard focus on the help box" has_focus "$found"
echo "windows_wine: Alt+H opened the help box"
xdotool key Return
help_closed() { ! xdotool search --name '^HELP$' >/dev/null 2>&1; }
poll "the help box to close (Return)" help_closed

poll "keyboard focus on the viewer" focused
xdotool key alt+r
poll "the open dialog 'DXF file?' (Alt+R)" find_named '^DXF file\?$'
poll "keyboard focus on the open dialog" has_focus "$found"
chosen="z:${work//\//\\}\\second.dxf"
xdotool type --delay 30 "$chosen"
xdotool key Return
second_title() { [ "$(xdotool getwindowname "$window" 2>/dev/null)" = "Kelvorn: $chosen" ]; }
poll "the title 'Kelvorn: $chosen'" second_title
render second second.dxf
poll "the picture of the chosen file" matches second_shot second
echo "windows_wine: the open dialog read $chosen"

# close_message_box WHY: waits for the box captioned "Kelvorn" (any window of
# that name but the main one) and closes it with Return.
message_box=
boxes() { xdotool search --name '^Kelvorn$' 2>/dev/null | grep -vx "$window"; }
find_message_box() { message_box=$(boxes | head -n1) && [ -n "$message_box" ]; }
# Wine gives the keys to the box also while X's focus is still on its owner.
message_box_focused() {
    local focus
    focus=$(xdotool getwindowfocus 2>/dev/null) && { [ "$focus" = "$message_box" ] || [ "$focus" = "$window" ]; }
}
message_box_closed() { ! boxes >/dev/null; }
close_message_box() {
    poll "the message box captioned 'Kelvorn' ($1)" find_message_box
    poll "keyboard focus on the message box or the viewer" message_box_focused
    xdotool key Return
    poll "the message box to close" message_box_closed
}

rm "$work/second.dxf"
poll "keyboard focus on the viewer" focused
xdotool key F12
close_message_box "F12 on a file that is gone"
poll "the picture of the chosen file to stay" matches kept_shot second
echo "windows_wine: F12 on a deleted file said so in a message box and kept the picture"

# ends_with_status_0 PID: Alt+X on the focused viewer ends it with status 0.
ends_with_status_0() {
    local pid=$1
    poll "keyboard focus on the viewer" focused
    xdotool key alt+x
    viewer_gone() { ! kill -0 "$pid" 2>/dev/null; }
    poll "the viewer to end (Alt+X)" viewer_gone
    local status=0
    wait "$pid" || status=$?
    [ "$status" -eq 0 ] || fail "the viewer ended with status $status: $(cat "$work/kelvorn.log")"
}
ends_with_status_0 "$viewer_pid"
echo "windows_wine: Alt+X ended the viewer with status 0"

long_name=$(printf 'x%.0s' {1..300}).dxf
wine "$exe" "$long_name" >>"$work/kelvorn.log" 2>&1 &
viewer_pid=$!
# The main window is the one of that name at (-4, -4).
plain_window() {
    local candidate
    for candidate in $(xdotool search --name '^Kelvorn$' 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$candidate")"
        if [ "$X" -eq -4 ] && [ "$Y" -eq -4 ]; then
            window=$candidate
            return 0
        fi
    done
    return 1
}
poll "the viewer's window titled 'Kelvorn'" plain_window
close_message_box "an argument of 304 characters"
[ "$(xdotool getwindowname "$window")" = "Kelvorn" ] || fail "the over-long argument changed the title"
ends_with_status_0 "$viewer_pid"
echo "windows_wine: an over-long argument was refused with a message; Alt+X ended with status 0"

# --- a drawing opened as the .dxf association opens it ------------------------------------
cp "$drawing" "$work/panels.dxf"
wine "$exe" --flatten panels.dxf >>"$work/kelvorn.log" 2>&1 &
viewer_pid=$!
poll "the viewer's window titled 'Kelvorn: panels.dxf'" find_named '^Kelvorn: panels\.dxf$'
window=$found
render drawing panels.dxf "" --flatten
poll "the drawing as render --flatten draws it" matches drawing_shot drawing
echo "windows_wine: kelvorn.exe --flatten showed the drawing as the Linux render --flatten"

poll "keyboard focus on the viewer" focused
xdotool key f
render faces panels.dxf
poll "the 3DFACEs after F" matches faces_shot faces
poll "keyboard focus on the viewer" focused
xdotool key F12
poll "the 3DFACEs again after F12" matches faces_f12_shot faces
xdotool key f
poll "the drawing after F again" matches drawing_again_shot drawing
echo "windows_wine: F switched from the drawing to its 3DFACEs and back; F12 kept the reading"

# A file with no 3DFACE, read in the faces reading: Yes to the question shows its drawing.
printf '%s\r\n' 0 SECTION 2 ENTITIES 0 POLYLINE 66 1 70 64 71 4 72 2 \
    0 VERTEX 10 0 20 0 30 0 70 192 0 VERTEX 10 8 20 0 30 0 70 192 \
    0 VERTEX 10 8 20 5 30 2 70 192 0 VERTEX 10 0 20 5 30 2 70 192 \
    0 VERTEX 70 128 71 1 72 2 73 3 0 VERTEX 70 128 71 1 72 3 73 4 \
    0 SEQEND 0 ENDSEC 0 EOF >"$work/polyface.dxf"
poll "keyboard focus on the viewer" focused
xdotool key f
poll "the 3DFACEs after F" matches faces_again_shot faces
xdotool key alt+r
poll "the open dialog 'DXF file?' (Alt+R)" find_named '^DXF file\?$'
poll "keyboard focus on the open dialog" has_focus "$found"
xdotool type --delay 30 "z:${work//\//\\}\\polyface.dxf"
xdotool key Return
close_message_box "the question whether to show the drawing, answered Yes by Return"
render polyface polyface.dxf "" --flatten
poll "the polyface drawing after Yes" matches polyface_shot polyface
echo "windows_wine: Yes to the question showed the drawing of a file without 3DFACEs"
ends_with_status_0 "$viewer_pid"
echo "windows_wine: Alt+X ended the viewer with status 0"
