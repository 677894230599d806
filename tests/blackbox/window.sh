#!/bin/bash
# The real window offscreen under both stand-ins: it connects, an unplug event shows
# it disconnected, a plug event connects it again, and a Manual/Auto change the light
# made meanwhile is adopted and sent back as one 65-byte settings report.
. "$(dirname "$0")/lib.sh"
monitor_ready() { [ "$("$STANDIN_CTL" "$DIR" monitors)" -ge 1 ]; }

run_bg quorlin "$QUORLIN_BIN"
WIN=$!
wait_for "the status request" more_than $WIN 0 "$STATUS_WRITE"
wait_for "the light's Auto mode sent back" more_than $WIN 0 "$SETTINGS_WRITE"
wait_for "the udev monitor" monitor_ready

ctl unplug
wait_for "the remove event" more_than $WIN 0 'event=remove,5046,5631,SIM0001'
wait_for "the handle closed" more_than $WIN 0 '^close 0 0 '
wait_for "a retry that finds no light" more_than $WIN 0 '^enumerate - 0 '
grep -qF 'usb remove\\?\USB#VID_5046&PID_5631#SIM0001#' quorlin.out || fail "no 'usb remove' line"

ctl settings 01 02 28 1e b4 b4 aa 32 01 01 0f 00 02 00
ctl plug
wait_for "the add event" more_than $WIN 0 'event=add,5046,5631,SIM0001'
wait_for "the second status request" more_than $WIN 1 "$STATUS_WRITE"
wait_for "the light's Manual mode sent back" more_than $WIN 1 "$SETTINGS_WRITE"
calls $WIN "$SETTINGS_WRITE" | tail -n 1 | grep -q ' 0011010228' || fail "wrong settings report"

# The handle closes only after the refresh that followed the query has finished, so
# by then any further report would have been written.
ctl unplug
wait_for "the second close" more_than $WIN 1 '^close 0 0 '
[ "$(count $WIN "$SETTINGS_WRITE")" = 2 ] || fail "the change went out more than once"
stop_clean $WIN
echo "ok"
