# Shared by the black-box scripts: a private control folder and work folder, the
# stand-ins preloaded (after a sanitizer runtime the binary needs), bounded waits
# that poll the stand-in's call log, and clean-up of every process started here.
# Set by CTest: QUORLIN_BIN, QUORLINCTL_BIN, STANDIN_HID, STANDIN_UDEV, STANDIN_CTL.
set -u
for var in STANDIN_HID STANDIN_UDEV STANDIN_CTL; do
    [ -n "${!var:-}" ] || { echo "FAIL: $var not set" >&2; exit 1; }
done

DIR=$(mktemp -d) WORK=$(mktemp -d)
LOG=$DIR/calls.log
export QUORLIN_STANDIN_DIR=$DIR QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$WORK
started=()
cleanup() {
    local pid
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$DIR" "$WORK"
}
trap cleanup EXIT
cd "$WORK" || exit 1

fail() {
    echo "FAIL: $*" >&2
    echo "--- last calls:" >&2
    tail -n 25 "$LOG" 2>/dev/null | cut -c1-200 >&2
    for out in "$WORK"/*.out; do
        [ -s "$out" ] && { echo "--- $out:" >&2; tail -n 20 "$out" >&2; }
    done
    exit 1
}

ctl() { "$STANDIN_CTL" "$DIR" "$@" || fail "standin-ctl $*"; }

# The preload list for a binary: its sanitizer runtime must come first.
preload() {
    local runtime
    runtime=$(ldd "$1" | awk '/lib(asan|tsan)\.so/ { print $3; exit }')
    echo "${runtime:+$runtime:}$STANDIN_HID:$STANDIN_UDEV"
}

# run_bg NAME BINARY ARGS...: starts it under the stand-ins; $! is its pid.
run_bg() {
    local name=$1 bin=$2
    shift 2
    LD_PRELOAD=$(preload "$bin") "$bin" "$@" >"$WORK/$name.out" 2>&1 &
    started+=($!)
}

# quorlinctl under the stand-in; output in $OUT, exit code in $RC.
qctl() {
    OUT=$(LD_PRELOAD=$(preload "$QUORLINCTL_BIN") "$QUORLINCTL_BIN" "$@" 2>&1)
    RC=$?
}

# Log lines of process PID (any for "-") matching the extended regex, which sees
# "CALL IF RESULT ERR BYTES [extra]".
calls() { awk -v pid="$1" 'pid == "-" || $2 == pid' "$LOG" 2>/dev/null | cut -d' ' -f3- | grep -E "$2"; }
count() { calls "$1" "$2" | wc -l; }

. "$(dirname "${BASH_SOURCE[0]}")/../../tools/standin/wait_for.sh"
# True once process PID logged more than N lines matching REGEX.
more_than() { [ "$(count "$1" "$3")" -gt "$2" ]; }

# A process named like the other lighting program (a renamed sleep).
start_launcher() {
    ln -sf "$(command -v sleep)" "$WORK/SignalRgbLauncher.exe"
    "$WORK/SignalRgbLauncher.exe" 60 &
    started+=($!)
    LAUNCHER=$!
}

# The program is still running and no sanitizer spoke.
check_clean() {
    kill -0 "$1" 2>/dev/null || fail "process $1 ended early"
    ! grep -qE 'Sanitizer|runtime error' "$WORK"/*.out || fail "sanitizer report"
}
# check_clean, then SIGTERM; no sanitizer speaks on the way out either.
stop_clean() {
    check_clean "$1"
    kill "$1"
    wait "$1" 2>/dev/null
    ! grep -qE 'Sanitizer|runtime error' "$WORK"/*.out || fail "sanitizer report at exit"
}

# Status request and settings report as they appear on the wire (65 bytes in hex).
STATUS_WRITE='^write 0 65 - 001201'
SETTINGS_WRITE='^write 0 65 - 0011[0-9a-f]{126}$'
