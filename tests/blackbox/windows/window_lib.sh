# Shared by the black-box scripts of quorlin.exe under Wine: the stand-in light's lib.sh
# on an Xvfb of the script's own (keys go to whichever window has the focus, so no other
# test's windows may share the display), the shipped program in a folder with the
# shipped Language.ini and red.she, and the read-back program for what the window shows.
# Set by CTest: QUORLIN_EXE, READBACK_EXE, STANDIN_BIN.
[ -n "${QUORLIN_EXE:-}" ] && [ -n "${READBACK_EXE:-}" ] && [ -n "${STANDIN_BIN:-}" ] ||
    { echo "FAIL: QUORLIN_EXE, READBACK_EXE and STANDIN_BIN must be set" >&2; exit 1; }
# WINDOW_DISPLAY: a display the caller started for this script alone.
if [ -n "${WINDOW_DISPLAY:-}" ]; then export DISPLAY=$WINDOW_DISPLAY; else unset DISPLAY; fi
. "$(dirname "${BASH_SOURCE[0]}")/../../../tools/standin/windows/lib.sh"

# A failure shows what the window showed too.
eval "standin_fail() $(declare -f fail | tail -n +2)"
fail() {
    echo "--- the window:" >&2
    (cd "$READBACK_DIR" && timeout 10 wine ./readback.exe --class '#32770' --title "$TITLE" 2>&1 | tr -d '\r' | cut -c1-160 >&2)
    standin_fail "$@"
}

TITLE='Quorlin Sivane Setting Tool V2.3'
STATUS_WRITE='^write 0 65 - 001201'
SETTINGS_WRITE='^write 0 65 - 0011'
READBACK_DIR=$(cd "$(dirname "$READBACK_EXE")" && pwd)

standin_up "$STANDIN_BIN"
APP=$(program_folder app "$QUORLIN_EXE" "$STANDIN_TOP/resources/Language.ini" "$STANDIN_TOP/resources/red.she")

# rb ARGS...: readback on the main window (or as told); output in $RB.
rb() {
    local rc
    RB=$(cd "$READBACK_DIR" && wine ./readback.exe "$@" 2>/dev/null)
    rc=$?
    RB=${RB//$'\r'/}
    return $rc
}
# The main window's line for control ID.
control() { rb --class '#32770' --title "$TITLE" --id "$1"; printf '%s\n' "$RB"; }
# shows ID FIELD=VALUE: true when the control's line has that field.
shows() { control "$1" | tr '\t' '\n' | grep -qxF "$2"; }
status_is() { shows 1009 "text=$1"; }

start_window() {
    run_bg quorlin "$APP" quorlin.exe
    WIN=$!
    wait_for "the window" bash -c "xdotool search --name '^$TITLE\$' >/dev/null"
    XWIN=$(xdotool search --name "^$TITLE\$" | head -n 1)
}

# The X window of the main window gets the focus (keys go there).
focus_window() { xdotool windowfocus --sync "$1" || fail "cannot focus window $1"; }

# focus_control ID: Tab through the dialog until control ID has the focus.
focus_control() {
    local tabs
    focus_window "$XWIN"
    for tabs in $(seq 30); do
        rb --class '#32770' --title "$TITLE" --focus
        [ "$(cut -f1 <<<"$RB")" = "$1" ] && return 0
        xdotool key Tab
    done
    fail "control $1 never took the focus"
}

# click ID: a left click in the middle of control ID.
click() {
    local line rect window x y w h ox oy X Y
    line=$(control "$1")
    rect=$(tr '\t' '\n' <<<"$line" | sed -n 's/^rect=//p')
    # The window's own rectangle, relative to its client area: where the frame ends.
    rb --class '#32770' --title "$TITLE"
    window=$(head -n 1 <<<"$RB" | tr '\t' '\n' | sed -n 's/^rect=//p')
    IFS=, read -r x y w h <<<"$rect"
    IFS=, read -r ox oy _ _ <<<"$window"
    eval "$(xdotool getwindowgeometry --shell "$XWIN" | grep -E '^(X|Y)=')"
    xdotool mousemove --sync $((X - ox + x + w / 2)) $((Y - oy + y + h / 2)) click 1
}

# more_than N REGEX: true once more than N log lines match.
more_than() { [ "$(count "$2")" -gt "$1" ]; }

# ends_within PID: true once the process has gone (20 s at most).
ends_within() {
    local tries=400
    while kill -0 "$1" 2>/dev/null; do
        tries=$((tries - 1))
        [ $tries -gt 0 ] || return 1
        sleep 0.05
    done
}
