#!/bin/bash
# The real window on an X server under a real window manager (openbox): a top-level
# application window the taskbar lists (not transient, type normal, not modal), the
# About box modal to it, and the connection display's tooltip shown while a light this
# user may not open keeps it disconnected, gone once connected.
. "$(dirname "$0")/lib.sh"
for tool in Xvfb openbox xprop xwininfo xdotool; do
    command -v $tool >/dev/null || { echo "SKIP: $tool is not installed (tools/setup.sh test)"; exit 77; }
done
# Under a real X server the program runs Qt's X11, D-Bus and GLib threads, none of them
# built for ThreadSanitizer: their own hand-overs read as races. The window's kind is
# the same in every build; the plain and ASan builds check it.
if ldd "$QUORLIN_BIN" | grep -q 'libtsan\.so'; then
    echo "SKIP: a ThreadSanitizer build (uninstrumented X11 and D-Bus libraries)"
    exit 77
fi

Xvfb -displayfd 3 -nolisten tcp -screen 0 800x600x24 3>"$DIR/display" 2>/dev/null &
started+=($!)
wait_for "the X server" test -s "$DIR/display"
export DISPLAY=:$(cat "$DIR/display") QT_QPA_PLATFORM=xcb
openbox >"$WORK/openbox.out" 2>&1 &
started+=($!)
wm_ready() { xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
wait_for "openbox" wm_ready

ctl fail-open '*' EACCES
run_bg quorlin "$QUORLIN_BIN"
WIN=$!
find_window() { xdotool search --name "$1" 2>/dev/null | head -n 1; }
window_found() { [ -n "$(find_window "$1")" ]; }
wait_for "the main window" window_found 'Quorlin Sivane Setting Tool'
main=$(find_window 'Quorlin Sivane Setting Tool')
main_hex=$(printf '0x%x' "$main")
wait_for "the failed opens" more_than $WIN 1 '^open 0 0 EACCES'

props=$(xprop -id "$main" WM_TRANSIENT_FOR _NET_WM_WINDOW_TYPE _NET_WM_STATE)
echo "$props"
grep -q 'WM_TRANSIENT_FOR:  not found' <<<"$props" || fail "the main window is transient: $props"
grep -q '^_NET_WM_WINDOW_TYPE(ATOM) = _NET_WM_WINDOW_TYPE_NORMAL$' <<<"$props" || fail "not of type normal: $props"
! grep -qE '_NET_WM_STATE_(MODAL|SKIP_TASKBAR|SKIP_PAGER)' <<<"$props" || fail "kept out of the taskbar: $props"
xprop -root _NET_CLIENT_LIST | grep -qw "$main_hex" || fail "openbox does not list the window as a client"

# Hovering the status text (template 131,34 76x8 of 320x200) shows the tooltip window.
geometry=$(xdotool getwindowgeometry "$main" | awk '/Geometry/ { print $2 }')
status_x=$((${geometry%x*} * 169 / 320)) status_y=$((${geometry#*x} * 38 / 200))
tooltip_shown() {
    local id
    for id in $(xwininfo -root -children | awk '/^ +0x/ { print $1 }'); do
        xprop -id "$id" _NET_WM_WINDOW_TYPE 2>/dev/null | grep -q _NET_WM_WINDOW_TYPE_TOOLTIP &&
            xwininfo -id "$id" | grep -q 'Map State: IsViewable' && return 0
    done
    return 1
}
hover_status() {
    xdotool mousemove 0 0
    sleep 0.3
    xdotool mousemove --window "$main" "$status_x" "$status_y" sleep 0.2 \
        mousemove --window "$main" $((status_x + 2)) $((status_y + 1))
}
hover_status
wait_for "the tooltip of a light this user may not open" tooltip_shown
grep -q '70-quorlin.rules' "$WORK/quorlin.out" || fail "the open failure was not the permission one"

# About (F1): transient for the main window and modal.
xdotool mousemove 0 0
xdotool windowactivate --sync "$main" key F1
wait_for "the About box" window_found '关于 Quorlin'
about=$(find_window '关于 Quorlin')
about_props=$(xprop -id "$about" WM_TRANSIENT_FOR _NET_WM_STATE)
echo "$about_props"
grep -q "^WM_TRANSIENT_FOR(WINDOW): window id # $main_hex\$" <<<"$about_props" || fail "About is not transient for the main window"
grep -q '_NET_WM_STATE_MODAL' <<<"$about_props" || fail "About is not modal"
xdotool windowactivate --sync "$about" key Escape
about_gone() { ! window_found '关于 Quorlin'; }
wait_for "the About box to close" about_gone

# Connected: nothing to explain, so no tooltip.
ctl fail-open off
ctl plug
wait_for "the status request" more_than $WIN 0 "$STATUS_WRITE"
sleep 0.5
hover_status
sleep 2
! tooltip_shown || fail "a tooltip while connected"
stop_clean $WIN
echo "ok"
