#!/usr/bin/env bash
# End-to-end run of the viewer under a real X server (Xvfb with openbox):
# start it on a mesh, read its title, compare its client area with the
# headless render of the same file, keys and size, turn it with Page Down,
# reload with F12, show the standard views with the digit keys, turn, zoom and
# pan it with real pointer events (drags, wheel buttons 4 and 5, a
# double-click) against the render of the same
# steps, open the help from the keyboard, read a file of another folder
# through the open dialog and then again by Enter on the name it proposes
# there, restore the window from maximized to a drawing of three quarters of
# the screen, and leave with Alt+X. Then open a CAD drawing as a file manager
# does, by the desktop entry's Exec line, and find the render with --flatten;
# switch readings with F, and answer Yes to the question that a file with no
# 3DFACE but a drawing of faces asks.
#
# usage: viewer_x11.sh KELVORN KELVORN_TOOL MESH DESKTOP_ENTRY DRAWING
set -euo pipefail

viewer=$1 tool=$2 mesh=$3 desktop_entry=$4 drawing=$5
timeout_seconds=20
poll_interval=0.1
script_name=viewer_x11
# shellcheck source=polling.sh
source "$(dirname "$0")/polling.sh"

for program in Xvfb openbox xdotool wmctrl import convert compare xprop; do
    command -v "$program" >/dev/null ||
        fail "$program is missing (scripts/install-deps.sh installs xvfb openbox xdotool wmctrl imagemagick x11-utils)"
done

work=$(mktemp -d)
pids=()
cleanup() {
    local status=$?
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        kill "${pids[i]}" 2>/dev/null || true
        wait "${pids[i]}" 2>/dev/null || true
    done
    if [ "$status" -eq 0 ]; then rm -rf "$work"; else echo "viewer_x11: screenshots and logs kept in $work" >&2; fi
}
trap cleanup EXIT

# --- X server and window manager --------------------------------------------
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
poll "Xvfb to pick a display" test -s "$work/display"
export DISPLAY=":$(head -n1 "$work/display")"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
poll "openbox to manage the screen" sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"'

# --- the viewer ---------------------------------------------------------------
"$viewer" "$mesh" >"$work/kelvorn.log" 2>&1 &
viewer_pid=$!
pids+=("$viewer_pid")

window=
find_window() { window=$(xdotool search --onlyvisible --name '^Kelvorn: ' 2>/dev/null | head -n1) && [ -n "$window" ]; }
poll "the viewer's window titled 'Kelvorn: ...'" find_window
title=$(xdotool getwindowname "$window")
[ "$title" = "Kelvorn: $mesh" ] || fail "title is '$title', expected 'Kelvorn: $mesh'"
echo "viewer_x11: window $window titled '$title'"

# The client area is the window below the menu bar: its first row is all white
# (the picture starts one row lower), the bar's rows are not.
client_top=
client_width=
client_height=
measure_client() {
    import -window "$window" "$work/window.png" 2>/dev/null || return 1
    local size
    size=$(identify -format '%w %h' "$work/window.png") || return 1
    local width=${size% *} height=${size#* }
    local row
    row=$(convert "$work/window.png" -scale "1x$height!" -depth 8 txt:- |
        awk -F'[,:]' '/#FFFFFF/ { print $2; exit }')
    [ -n "$row" ] && [ "$row" -gt 0 ] || return 1
    client_top=$row client_width=$width client_height=$((height - row))
}

# shows_render NAME [KEYS]: the client area, measured anew (the window manager
# may still be resizing the window) unless client_fixed is set, has no pixel
# that differs from the render of the mesh after KEYS at the same size, in the
# drawing reading where `reading` is --flatten. Leaves NAME.png and
# NAME-expected.png.
client_fixed=
reading=
shows_render() {
    if [ -n "$client_fixed" ]; then
        import -window "$window" "$work/window.png" 2>/dev/null || return 1
    else
        measure_client || return 1
    fi
    "$tool" render ${reading:+"$reading"} "$mesh" -o "$work/$1-expected.png" --size "${client_width}x${client_height}" ${2:+--keys "$2"} ||
        fail "kelvorn-tool render failed"
    convert "$work/window.png" -crop "${client_width}x${client_height}+0+${client_top}" +repage "$work/$1.png" ||
        return 1
    local differing
    differing=$(compare -metric AE "$work/$1.png" "$work/$1-expected.png" null: 2>&1) || true
    [ "$differing" = "0" ]
}

poll "the first picture (see $work/first.png)" shows_render first
echo "viewer_x11: client area ${client_width}x${client_height} at row $client_top matches the render"

xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
poll "keyboard focus on the viewer" sh -c "[ \"\$(xdotool getactivewindow 2>/dev/null)\" = '$window' ]"

xdotool key Next
poll "the turned picture after Page Down (see $work/after_pgdn.png)" shows_render after_pgdn pgdn
turned_pixels=$(compare -metric AE "$work/first.png" "$work/after_pgdn.png" null: 2>&1) || true
[ "$turned_pixels" != "0" ] || fail "Page Down left the picture as it was"
echo "viewer_x11: Page Down turned the picture as the render with 'pgdn'"

xdotool key F12
poll "the first picture again after F12 (see $work/after_f12.png)" shows_render after_f12
echo "viewer_x11: F12 brought the first picture back"

# The standard views, on the main row's digits and the keypad's (Num Lock on:
# its digits), each from whatever turn came before.
xdotool key Next 2
poll "the front view after Page Down (see $work/front.png)" shows_render front pgdn,front
xdotool key Num_Lock KP_4 Num_Lock
poll "the isometric view from the keypad (see $work/iso.png)" shows_render iso pgdn,front,iso
xdotool key End 3
poll "the right side view after End (see $work/right.png)" shows_render right pgdn,front,iso,end,right
xdotool key 1
poll "the top view (see $work/top.png)" shows_render top pgdn,front,iso,end,right,top
echo "viewer_x11: the keys 2, keypad 4, 3 and 1 showed the renders of front, iso, right and top"
xdotool key F12
poll "the first picture again after F12 (see $work/after_views_f12.png)" shows_render after_views_f12

# --- the mouse ----------------------------------------------------------------
# Each motion is one pointer event, so the viewer turns or pans once for it;
# the steps the render is given say what the hand did, in client pixels. A
# zoomed picture may cover the client's first row: the measure stays.
client_fixed=1
steps=
# at X Y: the pointer on client pixel (X, Y).
at() { xdotool mousemove --window "$window" "$1" $(($2 + client_top)); }
# did NAME STEP: STEP was done; the client area comes to show the render of all steps so far.
did() {
    steps=${steps:+$steps,}$2
    poll "the picture after '$steps' (see $work/$1.png)" shows_render "$1" "$steps"
}

at 300 200
xdotool mousedown 1 && at 360 170 && xdotool mouseup 1
did left_drag drag:60:-30
at 150 120
xdotool click 4
did wheel_away wheel:120:150:120
xdotool click 4
did wheel_away_again wheel:120:150:120
at 400 250
xdotool click 5
did wheel_towards wheel:-120:400:250
xdotool mousedown 2 && at 370 290 && xdotool mouseup 2
did middle_drag pan:-30:40
xdotool keydown ctrl mousedown 1 && at 380 280 && xdotool mouseup 1 keyup ctrl
did ctrl_drag pan:10:-10
xdotool keydown shift mousedown 1 && at 420 300 && xdotool mouseup 1 keyup shift
did shift_drag shiftdrag:40:20
xdotool click --repeat 2 --delay 80 1
did double_click dblclick
echo "viewer_x11: drags, wheel notches, pans and a double-click showed the render of '$steps'"

xdotool key F12
poll "the first picture again after F12 (see $work/after_mouse_f12.png)" shows_render after_mouse_f12
echo "viewer_x11: F12 brought the first picture back after the mouse"
client_fixed=

xdotool key alt+h
help_window=
find_help() { help_window=$(xdotool search --onlyvisible --name '^HELP$' 2>/dev/null | head -n1) && [ -n "$help_window" ]; }
poll "the help box (Alt+H)" find_help
import -window "$help_window" "$work/help.png" || fail "cannot take a picture of the help box"
echo "viewer_x11: Alt+H opened the help box"
xdotool key Return
help_closed() { ! xdotool search --onlyvisible --name '^HELP$' >/dev/null 2>&1; }
poll "the help box to close (Return)" help_closed

# The open dialog opens in the folder of the file chosen last, so Enter on the
# name it proposes reads that file again (the first view: Page Down undone).
mkdir "$work/meshes"
cp "$(dirname "$mesh")/sphere.dxf" "$work/meshes/other.dxf"
mesh=$work/meshes/other.dxf
dialog_shown() { xdotool search --onlyvisible --name '^DXF file\?$' >/dev/null 2>&1; }
dialog_closed() { ! dialog_shown; }
open_dialog() {
    xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
    xdotool key alt+r
    poll "the open dialog 'DXF file?' (Alt+R)" dialog_shown
}
open_dialog
xdotool type --delay 20 "$mesh"
xdotool key Return
poll "the dialog to close" dialog_closed
poll "the title 'Kelvorn: $mesh'" sh -c "[ \"\$(xdotool getwindowname '$window')\" = 'Kelvorn: $mesh' ]"
poll "the chosen file's picture (see $work/chosen.png)" shows_render chosen
xdotool key Next
poll "the chosen file turned (see $work/chosen_pgdn.png)" shows_render chosen_pgdn pgdn
open_dialog
xdotool key Return
poll "the dialog to close on Enter (no 'File not found')" dialog_closed
poll "the proposed file read again (see $work/proposed.png)" shows_render proposed
echo "viewer_x11: the open dialog read $mesh, then again by Enter on its proposal"

# Restored from maximized, the window keeps a drawing area: three quarters of
# the screen, as a window placed by Windows gets.
wmctrl -i -r "$window" -b remove,maximized_vert,maximized_horz
restored() {
    eval "$(xdotool getwindowgeometry --shell "$window")" # WIDTH, HEIGHT
    [ "$WIDTH" -eq 768 ] && [ "$HEIGHT" -eq 576 ]
}
poll "the restored window to be 768x576" restored
poll "the picture in the restored window (see $work/restored.png)" shows_render restored
echo "viewer_x11: the restored window is ${client_width}x${client_height} below its menu bar and shows the model"

xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
xdotool key alt+x
viewer_gone() { ! kill -0 "$viewer_pid" 2>/dev/null; }
poll "the viewer to end (Alt+X)" viewer_gone
status=0
wait "$viewer_pid" || status=$?
[ "$status" -eq 0 ] || fail "the viewer ended with status $status: $(cat "$work/kelvorn.log")"
echo "viewer_x11: Alt+X ended the viewer with status 0"

# --- a drawing opened as a file manager opens it ---------------------------------------
# The desktop entry's Exec line, split as GLib splits it and with %f put in,
# run with the viewer's folder first on PATH.
mesh="$work/CAD drawings/panels.dxf"
mkdir "$work/CAD drawings"
cp "$drawing" "$mesh"
python3 "$(dirname "$0")/desktop_exec.py" "$(sed -n 's/^Exec=//p' "$desktop_entry")" "f=$mesh" >"$work/argv"
mapfile -d '' argv <"$work/argv"
PATH="$(dirname "$viewer"):$PATH" "${argv[@]}" >"$work/kelvorn.log" 2>&1 &
viewer_pid=$!
pids+=("$viewer_pid")
poll "the window of '${argv[*]}'" find_window
reading=--flatten
poll "the drawing, as render --flatten draws it (see $work/desktop_drawing.png)" shows_render desktop_drawing
echo "viewer_x11: the desktop entry's '${argv[*]}' showed the drawing as render --flatten does"

xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
xdotool key f
reading=
poll "the 3DFACEs after F (see $work/faces_after_f.png)" shows_render faces_after_f
xdotool key Next F12
poll "the 3DFACEs again after Page Down and F12 (see $work/faces_after_f12.png)" shows_render faces_after_f12
xdotool key f
reading=--flatten
poll "the drawing after F again (see $work/drawing_after_f.png)" shows_render drawing_after_f
echo "viewer_x11: F switched from the drawing to its 3DFACEs and back; F12 kept the reading"

# A file with no 3DFACE, read in the faces reading: Yes to the question shows its drawing.
xdotool key f
reading=
poll "the 3DFACEs after F (see $work/faces_before_dialog.png)" shows_render faces_before_dialog
mesh=$work/meshes/polyface.dxf
printf '%s\n' 0 SECTION 2 ENTITIES 0 POLYLINE 66 1 70 64 71 4 72 2 \
    0 VERTEX 10 0 20 0 30 0 70 192 0 VERTEX 10 8 20 0 30 0 70 192 \
    0 VERTEX 10 8 20 5 30 2 70 192 0 VERTEX 10 0 20 5 30 2 70 192 \
    0 VERTEX 70 128 71 1 72 2 73 3 0 VERTEX 70 128 71 1 72 3 73 4 \
    0 SEQEND 0 ENDSEC 0 EOF >"$mesh"
open_dialog
xdotool type --delay 20 "$mesh"
xdotool key Return
poll "the dialog to close" dialog_closed
question=
find_question() { question=$(xdotool search --onlyvisible --name '^Kelvorn$' 2>/dev/null | head -n1) && [ -n "$question" ]; }
poll "the question 'Show the drawing?' in a box captioned 'Kelvorn'" find_question
xdotool windowactivate --sync "$question" >/dev/null 2>&1 || true
xdotool key Return
reading=--flatten
poll "the polyface drawing after Yes (see $work/polyface_yes.png)" shows_render polyface_yes
echo "viewer_x11: Yes to the question showed the drawing of a file without 3DFACEs"

xdotool windowactivate --sync "$window" >/dev/null 2>&1 || true
xdotool key alt+x
poll "the viewer started by the desktop entry to end (Alt+X)" viewer_gone
status=0
wait "$viewer_pid" || status=$?
[ "$status" -eq 0 ] || fail "the viewer ended with status $status: $(cat "$work/kelvorn.log")"
echo "viewer_x11: Alt+X ended it with status 0"
