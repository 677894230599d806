#!/bin/bash
# Two users without a runtime folder (su, ssh without a login session, cron) share
# one temp folder in which each has laid a trap for the other: root finds a FIFO at
# its lock name, nobody finds a file of root's that root holds locked. Both windows
# must still start, connect to the stand-in light and each hold a lock of its own.
# Needs root (to be the second user through setpriv); skipped with a message otherwise.
# usage: two_users.sh BUILD_DIR
set -u
if [ "$(id -u)" != 0 ] || ! command -v setpriv >/dev/null || ! command -v flock >/dev/null; then
    echo "two users: skipped (needs root, setpriv and flock)"
    exit 0
fi
build=$(cd "${1:?build folder}" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
export QUORLIN_BIN=$build/quorlin STANDIN_CTL=$top/tools/standin/standin-ctl
export STANDIN_HID=$build/tools/standin/libquorlin-standin-hid.so
export STANDIN_UDEV=$build/tools/standin/libquorlin-standin-udev.so
. "$top/tests/blackbox/lib.sh"
other=65534
as_other() { setpriv --reuid=$other --regid=$other --clear-groups "$@"; }
if ! as_other test -x "$QUORLIN_BIN"; then
    echo "two users: skipped (user $other cannot run $QUORLIN_BIN)"
    exit 0
fi

shared=$WORK/tmp
mkdir -m 1777 "$shared" "$WORK/home" && chown $other "$WORK/home" || fail "no shared folder"
chmod 0755 "$WORK" && chmod 0777 "$DIR" || fail "folders not shared"
as_other mkfifo "$shared/Quorlin-0.lock" || fail "no FIFO"
exec 7>"$shared/Quorlin-$other.lock"  # held by this script until it ends
flock -n 7 || fail "cannot hold the trap's lock"
unset XDG_RUNTIME_DIR
export TMPDIR=$shared HOME=$WORK/home

start() {  # start NAME COMMAND...: a window whose files both users can write
    local name=$1
    shift
    (umask 000; exec "$@" env LD_PRELOAD="$(preload "$QUORLIN_BIN")" "$QUORLIN_BIN" >"$WORK/$name.out" 2>&1) &
    started+=($!)
}
start root
ROOT=$!
start other setpriv --reuid=$other --regid=$other --clear-groups
OTHER=$!
wait_for "root's status request" more_than $ROOT 0 "$STATUS_WRITE"
wait_for "the other user's status request" more_than $OTHER 0 "$STATUS_WRITE"
check_clean $ROOT
check_clean $OTHER
[ -f "$shared/quorlin-0/Quorlin.lock" ] || fail "root's lock is not in its own folder"
[ -f "$shared/quorlin-$other/Quorlin.lock" ] || fail "the other user's lock is not in its own folder"
! grep -q 'running without' "$WORK"/*.out || fail "a window runs without a lock"
echo "two users: both windows run, each with its own lock"
