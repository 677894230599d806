#!/bin/bash
# The shipped quorlin.exe under Wine against the stand-in light, driven as a user
# drives it: it connects; one slider key sends one report; A then C shows the parameter
# panel and Set sends it; a language pick writes Language.ini and relabels the window;
# Alt+F4 ends the worker, which closes the light's handle after its last write, then
# lets hidapi go (hid_exit) with no handle left open.
. "$(dirname "$0")/window_lib.sh"

start_window
wait_for "[Connected]" status_is "[Connected]"
# The light's Auto mode is sent back once after the first query.
wait_for "the first settings report" more_than 0 "$SETTINGS_WRITE"
settings_before=$(count "$SETTINGS_WRITE")
shows 1003 pos=90 || fail "brightness trackbar not at the light's 90: $(control 1003)"

# One key on the brightness trackbar: one report carrying 91 (0x5b).
focus_control 1003
xdotool key Right
wait_for "the slider's report" more_than "$settings_before" "$SETTINGS_WRITE"
calls "$SETTINGS_WRITE" | tail -n 1 | grep -q ' 001101025b1eb4b4aa32' || fail "slider report: $(calls "$SETTINGS_WRITE" | tail -n 1)"
wait_for "edit 1005 to follow" shows 1005 text=91

# The panel is hidden until A, then C (other keys between do not matter).
shows 1021 visible=0 || fail "the panel shows before A, C"
focus_window "$XWIN"
xdotool key a Tab c
wait_for "the panel" shows 1021 visible=1
click 1020
xdotool key End BackSpace BackSpace BackSpace 1 1
wait_for "parameter 1 typed" shows 1020 text=11
click 1021
wait_for "Set's report" calls "${SETTINGS_WRITE}01025b1e0bb4aa32"
wait_for "the panel hidden after Set" shows 1021 visible=0
# Everything the key sent has arrived by now: the light takes one handle's writes in order.
[ "$(count ' 001101025b1eb4b4aa32')" = 1 ] || fail "the slider key sent other than one report"

# A language pick: Language.ini rewritten, the window relabelled, the light reopened.
opens=$(count '^open 0 1 ')
focus_control 1018
xdotool key Down
wait_for "Language.ini" grep -q 'MyType=English,0;Japanese,1;' "$APP/Language.ini"
TITLE='Quorlin Sivane 設定ツール V2.3'
wait_for "the Japanese caption" rb --class '#32770' --title "$TITLE"
wait_for "the Japanese status" status_is "[接続済み]"
shows 1030 'text=明るさのレベル:' || fail "label 1030 not relabelled: $(control 1030)"
shows 1018 text=Japanese || fail "the list does not show Japanese: $(control 1018)"
rb --class '#32770' --title "$TITLE"
grep -q 'text=English' <<<"$(grep -v '^1018' <<<"$RB")" && fail "English text left after the pick"
wait_for "the reopen after the pick" more_than "$opens" '^open 0 1 '

# Alt+F4: the close protocol.
writes=$(count '^write ')
# From the language list, which under Wine would keep Alt+F4 to itself.
focus_control 1018
xdotool key alt+F4
ends_within "$WIN" || fail "Alt+F4 did not end the program"
wait "$WIN"; rc=$?
[ $rc = 0 ] || fail "exit status $rc after Alt+F4"
wait_for "hid_exit" calls '^exit '
calls '^exit ' | grep -q '^exit - 0 ' || fail "hid_exit with handles still open: $(calls '^exit ')"
last_write=$(grep -n ' write ' "$LOG" | tail -n 1 | cut -d: -f1)
last_close=$(grep -nE ' close 0 [1-9]' "$LOG" | tail -n 1 | cut -d: -f1)
[ -n "$last_close" ] && [ "$last_close" -gt "$last_write" ] || fail "the handle was not closed after the last write"
[ "$(count '^write ')" = "$writes" ] || fail "the close wrote to the light"
echo "ok"
