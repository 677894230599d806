#!/bin/bash
# The shipped quorlin.exe under Wine and the light's comings and goings: pulled and
# plugged again, it is followed (disconnected, then connected and queried again); a
# process named SignalRgbLauncher.exe keeps it off the light (disconnected, nothing
# written) until it ends; a second copy shows "程序已运行", ends after OK, and leaves the
# first one running. Its diagnostics reach the redirected standard output.
. "$(dirname "$0")/window_lib.sh"

start_window
wait_for "[Connected]" status_is "[Connected]"
wait_for "the first settings report" more_than 0 "$SETTINGS_WRITE"

# Pulled: the removal reaches the hidden window, the status follows.
queries=$(count "$STATUS_WRITE")
ctl unplug
wait_for "the removal told" calls '^notify - [1-9].* event=removal,'
wait_for "[Disconnected]" status_is "[Disconnected]"
shows 1003 enabled=0 || fail "the trackbar stays enabled while the light is away"
# A GUI program's diagnostics reach standard output when it is redirected.
wait_for "the removal on standard output" grep -qs "^usb remove" "$WORK/quorlin.out"
wait_for "the empty bus on standard output" grep -qs "^cannot enumerate dev!" "$WORK/quorlin.out"
ctl plug
wait_for "the arrival told" calls '^notify - [1-9].* event=arrival,'
wait_for "[Connected] again" status_is "[Connected]"
wait_for "the query after the plug" more_than "$queries" "$STATUS_WRITE"

# The other lighting program: the probe under its image name.
launcher_folder=$(program_folder launcher "$STANDIN_BIN/hidapi-standin-probe.exe")
mv "$launcher_folder/hidapi-standin-probe.exe" "$launcher_folder/SignalRgbLauncher.exe"
run_bg launcher "$launcher_folder" SignalRgbLauncher.exe --watch 20000
LAUNCHER=$!
wait_for "the launcher" grep -qs watching "$WORK/launcher.out"
wait_for "[Disconnected] while it runs" status_is "[Disconnected]"
before=$(count '^(open|write) ')
sleep 1  # ten polling passes of the worker with the launcher running
[ "$(count '^(open|write) ')" = "$before" ] || fail "the window reached the light while the launcher ran"
status_is "[Disconnected]" || fail "connected while the launcher runs"
queries=$(count "$STATUS_WRITE")
kill "$LAUNCHER"; wait "$LAUNCHER" 2>/dev/null
wait_for "[Connected] after the launcher" status_is "[Connected]"
wait_for "the query after the launcher" more_than "$queries" "$STATUS_WRITE"

# A second copy: the box, then its end after OK; the first copy untouched.
run_bg second "$APP" quorlin.exe
SECOND=$!
wait_for "the second copy's box" rb --class '#32770' --title Quorlin --visible
grep -q 'text=程序已运行' <<<"$RB" || fail "the box does not say 程序已运行: $RB"
box=$(xdotool search --name '^Quorlin$' | head -n 1)
[ -n "$box" ] || fail "no X window for the box"
focus_window "$box"
xdotool key Return
ends_within "$SECOND" || fail "the second copy did not end after OK"
kill -0 "$WIN" || fail "the first copy ended"
status_is "[Connected]" || fail "the first copy lost the light"
echo "ok"
