# Shared by black-box scripts of the Windows programs under Wine: a private Wine prefix
# started on this run's display, a private control folder, the stand-in light serving
# it, program folders with the stand-in DLLs beside the programs, bounded waits that
# poll the call log, and clean-up of everything started here. Source it from bash:
#
#   . tools/standin/windows/lib.sh
#   standin_up "$STANDIN_BIN"                  # hid.dll, cfgmgr32.dll, quorlin-standin-light.exe
#   folder=$(program_folder app build/windows/quorlin.exe resources/Language.ini resources/red.she)
#   run_bg app "$folder" quorlin.exe           # $! is its pid
#   ctl unplug; wait_for "the removal" calls "^notify .* event=removal"
#
# Without DISPLAY, standin_up starts an Xvfb of its own (-displayfd: the server picks a
# free display, so parallel tests never race for one). The prefix is
# STANDIN_PREFIX when set (kept for the next run: warm), else a fresh one. Either way
# its server is stopped at the end: a prefix's windows need the display its desktop
# was started on, and the next run may have another.
set -u

STANDIN_LIB_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
STANDIN_TOP=$(cd "$STANDIN_LIB_DIR/../../.." && pwd)
STANDIN_CTL=$STANDIN_TOP/tools/standin/standin-ctl
DIR=$(mktemp -d) WORK=$(mktemp -d)
LOG=$DIR/calls.log
export QUORLIN_STANDIN_DIR=$DIR WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINEPREFIX=${STANDIN_PREFIX:-$WORK/prefix}
STANDIN_BIN=${STANDIN_BIN:-}
started=()
xvfb_pid=

standin_cleanup() {
    local pid
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${started[@]}"; do wait "$pid" 2>/dev/null; done
    if [ -d "$WINEPREFIX" ]; then
        "$STANDIN_TOP/tools/wine/prefix.sh" down "$WINEPREFIX"
    fi
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$DIR" "$WORK"
}
trap standin_cleanup EXIT
trap 'exit 1' TERM INT  # a test's time-out ends it through the clean-up too

fail() {
    echo "FAIL: $*" >&2
    echo "--- last calls:" >&2
    tail -n 25 "$LOG" 2>/dev/null | cut -c1-200 >&2
    for out in "$WORK"/*.out; do
        [ -s "$out" ] && { echo "--- $out:" >&2; tail -n 20 "$out" | tr -d '\r' >&2; }
    done
    exit 1
}

ctl() { "$STANDIN_CTL" "$DIR" "$@" || fail "standin-ctl $*"; }

# standin_up BIN_DIR: the prefix's server on this display, then the light.
standin_up() {
    STANDIN_BIN=$(cd "$1" && pwd) && [ -f "$STANDIN_BIN/quorlin-standin-light.exe" ] ||
        fail "no stand-in light in '$1'"
    if [ -z "${DISPLAY:-}" ]; then
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
        xvfb_pid=$!
        wait_for "Xvfb" test -s "$WORK/display"
        export DISPLAY=:$(cat "$WORK/display")
    fi
    mkdir -p "$WINEPREFIX" && WINEPREFIX=$(cd "$WINEPREFIX" && pwd)
    # A server left by a run that was killed would keep that run's display.
    "$STANDIN_TOP/tools/wine/prefix.sh" down "$WINEPREFIX"
    "$STANDIN_TOP/tools/wine/prefix.sh" up "$WINEPREFIX" || fail "prefix.sh up"
    # A new prefix may still be being filled in: a program started now would not load.
    wine cmd /c exit </dev/null >/dev/null 2>&1
    (cd "$STANDIN_BIN" && exec wine ./quorlin-standin-light.exe) </dev/null >"$WORK/light.out" 2>&1 &
    started+=($!)
    STANDIN_LIGHT=$!
    wait_for "the light to listen" test -s "$DIR/light"
}

# program_folder NAME FILE...: a folder of WORK holding the files and the stand-in DLLs
# (the programs find them beside themselves); prints its path.
program_folder() {
    local folder=$WORK/$1
    shift
    mkdir -p "$folder" && cp "$@" "$STANDIN_BIN/hid.dll" "$STANDIN_BIN/cfgmgr32.dll" "$folder/" ||
        fail "cannot make the program folder"
    echo "$folder"
}

# run_bg NAME FOLDER PROGRAM ARGS...: starts it in FOLDER with the stand-in DLLs loaded;
# output in WORK/NAME.out, $! is its pid.
run_bg() {
    local name=$1 folder=$2 program=$3
    shift 3
    (cd "$folder" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;hid,cfgmgr32=n,b" exec wine "./$program" "$@") \
        </dev/null >"$WORK/$name.out" 2>&1 &
    started+=($!)
}

# run_fg FOLDER PROGRAM ARGS...: the same, waited for; output in $OUT (line ends as
# Unix ones), exit code in $RC.
run_fg() {
    local folder=$1 program=$2
    shift 2
    OUT=$(cd "$folder" && WINEDLLOVERRIDES="$WINEDLLOVERRIDES;hid,cfgmgr32=n,b" wine "./$program" "$@" 2>&1 </dev/null)
    RC=$?
    OUT=${OUT//$'\r'/}
}

# Log lines matching the extended regex, which sees "CALL IF RESULT ERR BYTES [extra]".
# PIDs in the log are Windows process ids.
calls() { cut -d' ' -f3- "$LOG" 2>/dev/null | grep -E "$1"; }
count() { calls "$1" | wc -l; }

. "$STANDIN_LIB_DIR/../wait_for.sh"
