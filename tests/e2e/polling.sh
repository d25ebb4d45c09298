# Failing and waiting, shared by the end-to-end scripts, and the Wine session
# and screenshots of the scripts that run the Windows programs. The script
# that sources this sets `script_name`, `timeout_seconds` and `poll_interval`
# first.

# fail MESSAGE...: one line on stderr, then exit 1 (the script's EXIT trap cleans up).
fail() {
    echo "$script_name: FAIL: $*" >&2
    exit 1
}

# poll DESCRIPTION COMMAND...: runs COMMAND every poll_interval seconds until
# it succeeds; fails after timeout_seconds.
poll() {
    local what=$1
    shift
    local deadline=$((SECONDS + timeout_seconds))
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || fail "timed out after ${timeout_seconds}s waiting for $what"
        sleep "$poll_interval"
    done
}

# --- Windows programs under Wine in Xvfb -----------------------------------------
# For the scripts that also set `work` (a scratch folder) and, for render,
# `tool` (the Linux kelvorn-tool).

# start_wine_in_xvfb: a fresh Wine prefix in $work/prefix, with the X11
# driver's window management off so that a maximized window sits at (-4, -4)
# and takes the focus itself, and an Xvfb of 1024x768 as DISPLAY (its pid in
# xvfb_pid). The prefix's Wine server stays up for the run, so that each wine
# command starts quickly. stop_wine_in_xvfb ends both.
xvfb_pid=
# boot_fresh_prefix [--persistent]: makes $WINEPREFIX anew, its output in
# $work/wineboot.log; with --persistent, under a server started first that
# stays up. Under heavy load a first boot now and then fails to load
# kernel32.dll and leaves a prefix that no later command can use; the caller
# may then try once more.
boot_fresh_prefix() {
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX" && mkdir -p "$WINEPREFIX"
    [ "${1:-}" != --persistent ] || wineserver -p
    (unset DISPLAY && wineboot -i) >"$work/wineboot.log" 2>&1
}
start_wine_in_xvfb() {
    export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe=d"
    local started=$SECONDS
    boot_fresh_prefix || boot_fresh_prefix || fail "wineboot failed twice: $(cat "$work/wineboot.log")"
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >"$work/reg.log" 2>&1 ||
        fail "cannot turn off window management: $(cat "$work/reg.log")"
    wineserver -w
    echo "$script_name: fresh prefix in $((SECONDS - started))s"

    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    xvfb_pid=$!
    poll "Xvfb to pick a display" test -s "$work/display"
    export DISPLAY=":$(head -n1 "$work/display")"
    wineserver -p
}

# stop_wine_in_xvfb: stops this prefix's Wine server and the Xvfb started here.
stop_wine_in_xvfb() {
    [ -d "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null || true
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}

# find_named PATTERN: true when a window's name matches PATTERN; the first such window in $found.
found=
find_named() { found=$(xdotool search --name "$1" 2>/dev/null | head -n1) && [ -n "$found" ]; }
# has_focus WINDOW: true when WINDOW has the keyboard focus.
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

# measure_client_area WINDOW: waits for the maximized viewer WINDOW's first
# picture and sets client_width, client_height and client_top (the screen
# row of the client's first row). The client area is the screen's full
# width, from below the menu bar to the bottom. The fitted picture's top edge
# lies on client row 1 (a sample is fitted by its height): the first row
# whose pixels are more than half black. Comparing with the render proves
# the measure.
measure_client_area() {
    local WINDOW X Y WIDTH HEIGHT SCREEN screen_height
    eval "$(xdotool getwindowgeometry --shell "$1")"
    [ "$X" -eq -4 ] && [ "$Y" -eq -4 ] || fail "the maximized window sits at ($X, $Y), not (-4, -4)"
    client_width=$((WIDTH - 8)) screen_height=$((HEIGHT - 8))
    poll "the first picture to show" picture_top_found
    client_height=$((screen_height - client_top))
}
picture_top_found() {
    import -window root "$work/screen.png" 2>/dev/null || return 1
    local row
    row=$(convert "$work/screen.png" -colorspace gray -threshold 20% -scale "1x$screen_height!" -depth 8 txt:- |
        awk -F'[,:]' 'NR > 1 && / #[0-7]/ { print $2; exit }')
    [ -n "$row" ] && [ "$row" -gt 1 ] || return 1
    client_top=$((row - 1))
}

# shot NAME: the client area as $work/NAME.png.
shot() {
    import -window root "$work/screen.png" 2>/dev/null &&
        convert "$work/screen.png" -crop "${client_width}x${client_height}+0+${client_top}" +repage "$work/$1.png"
}

# render NAME MESH [KEYS] [--flatten]: the Linux tool's picture of MESH at the
# client's size, as $work/NAME.png; with --flatten, of MESH's drawing.
render() {
    "$tool" render ${4:+"$4"} "$2" -o "$work/$1.png" --size "${client_width}x${client_height}" ${3:+--keys "$3"} ||
        fail "kelvorn-tool render failed"
}

# matches SHOT EXPECTED: a shot of the client area, SHOT, has no pixel that differs from EXPECTED.
matches() {
    shot "$1" || return 1
    local differing
    differing=$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1) || true
    [ "$differing" = "0" ]
}
