#!/bin/bash
# A running window and one quorlinctl change under the same stand-in light. The
# tool's status reply also lands in the window's open handle (hidraw copies every
# input report to each open file); the window must drain it rather than take it as
# the answer to its own next query, and must show the tool's change after that query.
# The window's next query here is the one after the other lighting program ends: it
# keeps its handles open, so the tool's reply is still waiting in its queue.
. "$(dirname "$0")/lib.sh"

run_bg quorlin "$QUORLIN_BIN"
WIN=$!
wait_for "the window's Auto mode sent" more_than $WIN 0 "$SETTINGS_WRITE"
qctl mode manual
[ $RC = 0 ] || fail "quorlinctl mode manual: exit $RC: $OUT"

# Nothing in the log shows the window's launcher check, so hold the launcher longer
# each time until the query after its end appears.
for hold in 1 3 6 ""; do
    [ -n "$hold" ] || fail "the window never queried after the launcher ended"
    start_launcher
    sleep "$hold"
    kill "$LAUNCHER"
    wait "$LAUNCHER" 2>/dev/null
    tries=100
    until more_than $WIN 1 "$STATUS_WRITE" || [ $((tries -= 1)) = 0 ]; do sleep 0.05; done
    more_than $WIN 1 "$STATUS_WRITE" && break
done
wait_for "the window's adoption of Manual" more_than $WIN 1 "$SETTINGS_WRITE"

more_than $WIN 0 '^read 0 17 - 001201025a1eb4b4aa3202.* timeout=0$' ||
    fail "the tool's reply was not drained"
calls $WIN "$SETTINGS_WRITE" | tail -n 1 | grep -q ' 001101025a1eb4b4aa3201' ||
    fail "the window did not send Manual back"
stop_clean $WIN
echo "ok"
