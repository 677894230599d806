#!/bin/bash
# The Windows stand-in light under Wine, seen through hidapi's own Windows backend
# (hidapi-standin-probe.exe): the exchange, plug and unplug, and each fault switch of standin-ctl.
#   selftest.sh BIN_DIR [PREFIX]
# BIN_DIR holds hid.dll, cfgmgr32.dll, quorlin-standin-light.exe and hidapi-standin-probe.exe;
# PREFIX is the Wine prefix to use (default: one under BIN_DIR); its server is started on
# this run's display and stopped at the end (lib.sh). Without a display it starts an Xvfb
# of its own (the plug events go to a window).
set -uo pipefail
[ $# -ge 1 ] || { echo "usage: selftest.sh BIN_DIR [PREFIX]" >&2; exit 2; }
bin=$(cd "$1" && pwd)
export STANDIN_PREFIX=${2:-$bin/wine-prefix}
. "$(dirname "${BASH_SOURCE[0]}")/lib.sh"
ctl=$STANDIN_CTL

failures=0
pass() { echo "ok   $1"; }
fail() { echo "FAIL $1"; sed 's/^/     | /' "$WORK/probe.out"; failures=$((failures + 1)); }
probe() { run_fg "$folder" hidapi-standin-probe.exe "$@"; printf '%s\n' "$OUT" >"$WORK/probe.out"; return $RC; }
has() { grep -q -- "$1" "$WORK/probe.out"; }
# The light looks at its control files every 50 ms.
settle() { sleep 0.2; }

standin_up "$bin"
folder=$(program_folder probe "$bin/hidapi-standin-probe.exe")

# --- listing and the exchange
probe && has "interface 0 path=\\\\\\\\.\\\\pipe\\\\quorlin-standin-[0-9a-f]\{8\}\\\\vid_5046&pid_5631&mi_00" \
    && has "ids=5046:5631 release=0100 serial=SIM0001 maker=Quorlin product=Sivane usage=ff00:0001 bus=1" \
    && has "write 65" && has "read 64" && has "^001201025a1eb4b4aa3202010f0002" \
    && pass "lists the light as the HID class driver would; a status request gets the 64-byte reply" \
    || fail "lists the light; a status request gets the 64-byte reply"
grep -q " write 0 65 - 0012010000" "$QUORLIN_STANDIN_DIR/calls.log" \
    && grep -q " reply 0 1 - 001201025a1e" "$QUORLIN_STANDIN_DIR/calls.log" \
    && pass "calls.log records the 65-byte report taken and the reply sent" \
    || { cp "$QUORLIN_STANDIN_DIR/calls.log" "$WORK/probe.out"; fail "calls.log records the report and the reply"; }

probe --two-handles && has "second read 64" \
    && pass "every open handle of the interface gets its own copy of the reply" \
    || fail "every open handle gets its own copy of the reply"

# --- the light's state
"$ctl" "$QUORLIN_STANDIN_DIR" settings 01 02 03 04 05 06 07 08 09 0A 0F 0C 0D 0E
probe && has "^0012010203040506070809" \
    && pass "the reply carries the settings file's bytes" || fail "the reply carries the settings file's bytes"
rm -f "$QUORLIN_STANDIN_DIR/settings"

# --- plugging
"$ctl" "$QUORLIN_STANDIN_DIR" unplug; settle
probe --expect-none && pass "an unplugged light is not listed" || fail "an unplugged light is not listed"
"$ctl" "$QUORLIN_STANDIN_DIR" plug; settle
probe && pass "plugged again, the exchange works" || fail "plugged again, the exchange works"

run_bg watch "$folder" hidapi-standin-probe.exe --watch 4000
watcher=$!
for _ in $(seq 100); do grep -qs watching "$WORK/watch.out" && break; sleep 0.1; done
"$ctl" "$QUORLIN_STANDIN_DIR" unplug; settle
"$ctl" "$QUORLIN_STANDIN_DIR" plug; settle
wait "$watcher"
tr -d '\r' <"$WORK/watch.out" >"$WORK/probe.out"
usb='type=5 class=a5dcbf10 name=\\\\?\\USB#VID_5046&PID_5631#SIM0001#{a5dcbf10-6530-11d2-901f-00c04fb951ed}'
has "^notify 0x8004 $usb" && has "^notify 0x8000 $usb" \
    && [ "$(grep -c '^notify' "$WORK/probe.out")" -eq 2 ] \
    && pass "unplug and plug reach the notification window as a removal and an arrival of the light" \
    || fail "unplug and plug reach the notification window"
grep -q " notify - 1 - - event=arrival," "$QUORLIN_STANDIN_DIR/calls.log" \
    && pass "calls.log records the notifications and the windows reached" \
    || { cp "$QUORLIN_STANDIN_DIR/calls.log" "$WORK/probe.out"; fail "calls.log records the notifications"; }

rm -f "$QUORLIN_STANDIN_DIR/go"
run_bg held "$folder" hidapi-standin-probe.exe --dies-after 'Z:'"${QUORLIN_STANDIN_DIR//\//\\}"'\go'
held=$!
for _ in $(seq 100); do grep -qs waiting "$WORK/held.out" && break; sleep 0.1; done
"$ctl" "$QUORLIN_STANDIN_DIR" unplug; settle
"$ctl" "$QUORLIN_STANDIN_DIR" plug; settle
touch "$QUORLIN_STANDIN_DIR/go"
wait "$held" && grep -q "late write -1" "$WORK/held.out" \
    && pass "a handle opened before an unplug stays dead after the next plug" \
    || fail "a handle opened before an unplug stays dead after the next plug"

"$ctl" "$QUORLIN_STANDIN_DIR" interfaces 3; settle
probe && has "interface 2 path=.*mi_02" && has "listed 3" \
    && pass "three interfaces are listed with their interface numbers" || fail "three interfaces are listed"
"$ctl" "$QUORLIN_STANDIN_DIR" interfaces 1; settle

# --- faults
"$ctl" "$QUORLIN_STANDIN_DIR" fail-open 0 EACCES
probe --expect-no-open && has "open failed: set input buffers: (0x00000005)" \
    && grep -q " open 0 0 EACCES " "$QUORLIN_STANDIN_DIR/calls.log" \
    && pass "fail-open: listed, but opening fails with access denied" || fail "fail-open: opening fails"
"$ctl" "$QUORLIN_STANDIN_DIR" fail-open off

"$ctl" "$QUORLIN_STANDIN_DIR" fail-write on; settle
probe --expect-write-fails && has "write -1" \
    && pass "fail-write: the light takes no report and the write fails after its wait" \
    || fail "fail-write: the write fails"
"$ctl" "$QUORLIN_STANDIN_DIR" fail-write off; settle
probe && pass "fail-write off: the exchange works again" || fail "fail-write off: the exchange works again"

"$ctl" "$QUORLIN_STANDIN_DIR" reply none
probe --expect-no-reply && has "read 0" && pass "reply none: the bounded read times out" || fail "reply none"
"$ctl" "$QUORLIN_STANDIN_DIR" reply wrong
probe; has "read 64" && has "^001201025a1eb4b4aa3202010e" \
    && pass "reply wrong: mark 14 at byte 12" || fail "reply wrong"
"$ctl" "$QUORLIN_STANDIN_DIR" reply short
probe; has "read 8" && has "^001201025a1eb4b4$" && pass "reply short: only the first 8 bytes" || fail "reply short"
"$ctl" "$QUORLIN_STANDIN_DIR" reply normal

# --- two lights under one wineserver, each with its own folder, serve apart
other=$(mktemp -d)
(cd "$bin" && QUORLIN_STANDIN_DIR=$other exec wine ./quorlin-standin-light.exe) </dev/null >/dev/null 2>&1 &
other_pid=$!
started+=($other_pid)
for _ in $(seq 100); do [ -s "$other/light" ] && break; sleep 0.1; done
"$ctl" "$other" settings 0A 0B 0C 0D 0E 0F 10 11 12 13 0F 15 16 17
probe && has "^001201025a1e" && pass "a second light with its own folder does not answer for the first" \
    || fail "a second light does not answer for the first"
QUORLIN_STANDIN_DIR=$other probe
has "^00120a0b0c0d" && pass "and answers its own programs" || fail "the second light answers its own programs"
kill "$other_pid" 2>/dev/null; wait "$other_pid" 2>/dev/null; rm -rf "$other"

# --- without a control folder there is no light
(unset QUORLIN_STANDIN_DIR; probe --expect-none) \
    && pass "without QUORLIN_STANDIN_DIR nothing is listed" || fail "without QUORLIN_STANDIN_DIR nothing is listed"

[ "$failures" -eq 0 ] && echo "all passed" || echo "$failures failed"
[ "$failures" -eq 0 ]
