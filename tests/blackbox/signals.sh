#!/bin/bash
# SIGTERM and SIGHUP close the real window through its close steps (the light's
# handle closed, then the HID library shut down, exit status 0); SIGPIPE is ignored;
# a SIGHUP ignored from the start (nohup) stays ignored; a copy showing a message
# box ends on SIGTERM too.
. "$(dirname "$0")/lib.sh"

# ends_within PID: true once the process has gone (10 s at most).
ends_within() {
    local tries=200
    while kill -0 "$1" 2>/dev/null; do
        tries=$((tries - 1))
        [ $tries -gt 0 ] || return 1
        sleep 0.05
    done
}

for sig in TERM HUP; do
    run_bg "quorlin-$sig" "$QUORLIN_BIN"
    WIN=$!
    wait_for "the status request" more_than $WIN 0 "$STATUS_WRITE"
    mask=$(awk '/^SigIgn:/ { print $2 }' /proc/$WIN/status)
    (( 0x$mask & (1 << 12) )) || fail "SIGPIPE not ignored (SigIgn $mask)"
    kill -$sig $WIN
    ends_within $WIN || fail "SIG$sig did not end the window"
    wait $WIN; rc=$?
    [ $rc = 0 ] || fail "exit status $rc after SIG$sig"
    steps=$(calls $WIN '^(close|exit) ' | cut -d' ' -f1 | tr '\n' ' ')
    [ "$steps" = "close exit " ] || fail "close steps after SIG$sig: '$steps'"
done

# Started with SIGHUP ignored: a hang-up leaves it running, SIGTERM still closes it.
(trap '' HUP; exec env LD_PRELOAD="$(preload "$QUORLIN_BIN")" "$QUORLIN_BIN" >"$WORK/nohup.out" 2>&1) &
WIN=$!
started+=($WIN)
wait_for "the status request" more_than $WIN 0 "$STATUS_WRITE"
kill -HUP $WIN
sleep 0.5
check_clean $WIN

# A second copy waits in its "already running" box: SIGTERM ends the box and the copy.
run_bg second "$QUORLIN_BIN"
SECOND=$!
sleep 1
check_clean $SECOND
kill -TERM $SECOND
ends_within $SECOND || fail "SIGTERM did not end the second copy's message box"
check_clean $WIN

kill -TERM $WIN
ends_within $WIN || fail "SIGTERM did not end the window started under nohup"
[ "$(count $WIN '^exit ')" = 1 ] || fail "no hid_exit after SIGTERM"
echo "ok"
