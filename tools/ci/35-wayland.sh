#!/bin/bash
# The real window under a Wayland compositor (Weston, headless): started with
# QT_QPA_PLATFORM=wayland against the stand-in light, and again with no light, it
# shows its window (a top-level surface with the window's caption and the menu
# entry's id, a buffer attached after the compositor's first configure) and on
# SIGTERM goes through its close steps and exits 0. Uses build/release with the
# stand-ins as tools/setup.sh left it.
set -euo pipefail
top=${QUORLIN_TOP:?}
build=${QUORLIN_BUILD:-$top/build/release}  # another build folder for a local run
standin=$build/tools/standin
ctl=$top/tools/standin/standin-ctl
tmp=$(mktemp -d)
weston= win=
cleanup() {
    for pid in $win $weston; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    for f in "$tmp"/*.out "$tmp"/*.err "$tmp/weston.log"; do
        [ -s "$f" ] && { echo "--- $f:" >&2; grep -v '^\[' "$f" | tail -n 15 >&2 || true; }
    done
    exit 1
}
# within SECONDS COMMAND...: polls COMMAND every 0.1 s until it succeeds.
within() {
    local tries=$(($1 * 10))
    shift
    until "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ $tries -gt 0 ] || return 1
        sleep 0.1
    done
}

for f in "$build/quorlin" "$standin/libquorlin-standin-hid.so" "$standin/libquorlin-standin-udev.so"; do
    [ -e "$f" ] || fail "$f not built"
done
for package in weston qt6-wayland; do
    dpkg-query -W -f='${Status}' $package 2>/dev/null | grep -q 'install ok installed' ||
        fail "$package is not installed (bash tools/setup.sh test installs it)"
done

# A private runtime folder for the compositor's socket and the program's lock; a
# private HOME so no weston.ini of the machine's user is read.
export XDG_RUNTIME_DIR=$tmp/run HOME=$tmp/home
mkdir -p "$XDG_RUNTIME_DIR" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"
socket=quorlin-wayland
weston --backend=headless-backend.so --socket=$socket --width=1024 --height=768 \
    --idle-time=0 >"$tmp/weston.log" 2>&1 &
weston=$!
within 20 test -S "$XDG_RUNTIME_DIR/$socket" || fail "weston did not open its socket"
echo "weston $(weston --version 2>&1 | awk '{ print $2 }'), headless, socket $socket"

# run_window NAME: the installed way of working (Language.ini and red.she in the
# current folder), the stand-ins preloaded, Qt on Wayland. The client's protocol
# log (WAYLAND_DEBUG) goes to NAME.err, the program's own lines to NAME.out.
run_window() {
    local work=$tmp/$1
    mkdir -p "$work"
    cp "$top/resources/red.she" "$top/resources/Language.ini" "$work/"
    (cd "$work" && exec env -u DISPLAY LD_PRELOAD="$standin/libquorlin-standin-hid.so:$standin/libquorlin-standin-udev.so" \
        QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=$socket WAYLAND_DEBUG=client \
        "$build/quorlin") >"$tmp/$1.out" 2>"$tmp/$1.err" &
    win=$!
}

# Mapped: the toplevel got the window's caption and the menu entry's id, the
# compositor configured it and the program answered with a buffer of its size.
caption='Quorlin Sivane Setting Tool V2.3'
mapped() {
    local log=$tmp/$1.err
    grep -qF "set_title(\"$caption\")" "$log" &&
        grep -qF 'set_app_id("org.quorlin.Quorlin")' "$log" &&
        awk '/xdg_surface@[0-9]+\.ack_configure/ { acked = 1 }
             acked && /wl_surface@[0-9]+\.attach\(wl_buffer@/ { found = 1 }
             END { exit !found }' "$log"
}
buffer_size() {
    grep -oE 'wl_shm_pool@[0-9]+\.create_buffer\(new id wl_buffer@[0-9]+, [0-9]+, [0-9]+, [0-9]+' "$tmp/$1.err" |
        tail -n 1 | awk -F', ' '{ print $3 " x " $4 }'
}

# stop NAME: SIGTERM, then the end in order within 10 s: exit 0, no crash, no
# message from the platform plugin, the worker's close steps in the call log.
stop() {
    kill -0 "$win" 2>/dev/null || fail "$1: the window ended before SIGTERM"
    kill -TERM "$win"
    within 10 bash -c "! kill -0 $win" || fail "$1: SIGTERM did not end the window"
    local rc=0
    wait "$win" || rc=$?
    win=
    [ $rc = 0 ] || fail "$1: exit status $rc after SIGTERM"
    ! grep -E 'Could not (find|load) the Qt platform plugin|Segmentation|Aborted|Sanitizer|wl_display@1\.error' \
        "$tmp/$1.out" "$tmp/$1.err" >&2 || fail "$1: a fault was reported"
}

# calls NAME REGEX: the stand-in's log lines of this run ("CALL IF RESULT ...").
calls() { cut -d' ' -f3- "$QUORLIN_STANDIN_DIR/calls.log" 2>/dev/null | grep -E "$2"; }
enumerations_over() { [ "$(calls none '^enumerate - 0 ' | wc -l)" -gt "$1" ]; }

for run in light none; do
    export QUORLIN_STANDIN_DIR=$tmp/standin-$run
    mkdir -p "$QUORLIN_STANDIN_DIR"
    [ $run = none ] && "$ctl" "$QUORLIN_STANDIN_DIR" unplug >/dev/null
    run_window $run
    within 30 mapped $run || fail "$run: no window mapped on Wayland"
    echo "$run: window mapped, buffer $(buffer_size $run)"
    if [ $run = light ]; then
        within 30 calls $run '^write 0 65 - 001201' || fail "light: no status request"
        echo "light: connected (status request sent)"
    else
        within 30 grep -q 'cannot enumerate dev!' "$tmp/$run.out" || fail "none: no 'cannot enumerate dev!'"
        # Looked again and again, so the closing count has something to say.
        within 30 enumerations_over 2 || fail "none: the worker did not look again"
        echo "none: 'cannot enumerate dev!' printed"
    fi
    stop $run
    if [ $run = none ]; then
        # The repeats held back are counted in the last line, written on the way out.
        last=$(tail -n 1 "$tmp/$run.out")
        [[ $last =~ ^cannot\ enumerate\ dev!\ \(repeated\ [0-9]+\ times?\)$ ]] ||
            fail "none: last line '$last', not the repeat count"
        echo "none: closing line '$last'"
    fi
    steps=$(calls $run '^(init|open|close|exit) ' | cut -d' ' -f1 | uniq | tr '\n' ' ')
    expected="init open close exit "
    [ $run = none ] && expected="init exit "
    [ "$steps" = "$expected" ] || fail "$run: close steps '$steps', not '$expected'"
    echo "$run: ended with exit status 0; HID steps: $steps"
done

kill -TERM "$weston"
wait "$weston" 2>/dev/null || true
weston=
echo "ok"
