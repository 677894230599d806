#!/bin/bash
# A plug/unplug storm against the real window: quorlin runs offscreen under the
# stand-in light and udev monitor (tools/standin), the light is pulled and put back
# TOGGLES times at random moments with random faults (replies withheld, wrongly
# marked or short; failing writes and opens; 1 to 3 interfaces; other devices'
# events between), then the window is closed by SIGTERM. Checks:
#   - every handle opened is closed and every enumeration freed, hid_init and
#     hid_exit once each, from the stand-in's call log;
#   - descriptors the same and memory within RSS_SLACK_KB between two settled
#     moments (connected, no faults) after a warm-up and after the storm;
#   - the close takes under 1.1 s from the signal to the exit, exit status 0;
#   - no sanitizer report.
# usage: storm.sh BUILD_DIR TOGGLES [RSS_SLACK_KB]   (RSS_SLACK_KB empty: no memory check)
set -u
build=$(cd "${1:?build folder}" && pwd)
toggles=${2:?toggles}
rss_slack=${3:-}
top=$(cd "$(dirname "$0")/../.." && pwd)
export QUORLIN_BIN=$build/quorlin STANDIN_CTL=$top/tools/standin/standin-ctl
export STANDIN_HID=$build/tools/standin/libquorlin-standin-hid.so
export STANDIN_UDEV=$build/tools/standin/libquorlin-standin-udev.so
for f in "$QUORLIN_BIN" "$STANDIN_HID" "$STANDIN_UDEV"; do
    [ -e "$f" ] || { echo "FAIL: $f not built" >&2; exit 1; }
done
. "$top/tests/blackbox/lib.sh"
seed=${QUORLIN_STORM_SEED:-$$}  # the faults' order; their timing is the machine's
RANDOM=$seed
echo "storm: $toggles toggles in $build (seed $seed)"

monitor_ready() { [ "$("$STANDIN_CTL" "$DIR" monitors)" -ge 1 ]; }
status_value() { awk -v key="$1:" '$1 == key { print $2 }' "/proc/$WIN/status"; }
# Descriptors other than /proc files (the launcher check keeps one open per process).
fds() { find "/proc/$WIN/fd" -mindepth 1 ! -lname '/proc/*' -printf '%f %l\n' | sort -n | tee "$WORK/fds.$1" | wc -l; }

# Control files and udev lines written here directly (tools/standin/README.md): a
# standin-ctl run per toggle costs more than the pause between toggles. The
# window's monitor FIFO is held open read-write, so a write never blocks.
put() { printf '%s\n' "$2" >"$DIR/.$1.storm" && mv -f "$DIR/.$1.storm" "$DIR/$1" || fail "cannot write $1"; }
udev_line() { printf '%s\n' "$1" >&9 || fail "cannot write the udev event"; }
generation=0
mkfifo "$WORK/pause" && exec 8<>"$WORK/pause" || fail "no pause FIFO"

random_faults() {
    local replies=(normal none wrong short)
    case $((RANDOM % 6)) in
    0) put reply "${replies[RANDOM % 4]}" ;;
    1) if ((RANDOM % 2)); then put fail-write all; else rm -f "$DIR/fail-write"; fi ;;
    2) if ((RANDOM % 2)); then put open-error "$((RANDOM % 2)) EACCES"; else rm -f "$DIR/open-error"; fi ;;
    3) put interfaces $((RANDOM % 3 + 1)) ;;
    4) udev_line "add 046d c52b OTHER$RANDOM" ;;
    *) ;;
    esac
}

plug() { generation=$((generation + 1)); put present "1 $generation"; udev_line "add 5046 5631 SIM0001"; plugged=1; }
unplug() { put present "0 $generation"; udev_line "remove 5046 5631 SIM0001"; plugged=0; }

toggle() {  # toggle N: N plug/unplug changes, each after faults and a pause of 0..140 ms
    local i
    for ((i = 0; i < $1; i++)); do
        random_faults
        if [ "$plugged" = 1 ]; then unplug; else plug; fi
        printf -v pause '0.%03d' $((RANDOM % 140))
        read -r -t "$pause" -u 8  # a pause without a process: nothing writes there
        kill -0 $WIN 2>/dev/null || fail "the window ended during the storm"
    done
}

# Faults off, light in: once the window has read the light's status after this
# point, it is connected and idle.
settle() {
    put reply normal; put interfaces 1; rm -f "$DIR/fail-write" "$DIR/open-error"
    local reads
    reads=$(count $WIN '^read [0-9]+ 17 ')
    [ "$plugged" = 1 ] && unplug
    plug
    wait_for "the status read after $1" more_than $WIN "$reads" '^read [0-9]+ 17 '
    sleep 0.5
}

run_bg quorlin "$QUORLIN_BIN"
WIN=$!
plugged=1
wait_for "the first status request" more_than $WIN 0 "$STATUS_WRITE"
wait_for "the udev monitor" monitor_ready
fifos=("$DIR"/udev/$WIN.*)
exec 9<>"${fifos[0]}"

toggle 30
echo "storm: warm-up done at ${SECONDS} s"
settle "the warm-up"
echo "storm: settled at ${SECONDS} s"
rss_before=$(status_value VmRSS) fds_before=$(fds before)
toggle "$toggles"
echo "storm: toggles done at ${SECONDS} s"
settle "the storm"
rss_after=$(status_value VmRSS) fds_after=$(fds after)
toggle 10
check_clean $WIN

start=$(date +%s%N)
kill -TERM $WIN
wait $WIN
rc=$?
close_ms=$((($(date +%s%N) - start) / 1000000))

opens=$(count $WIN '^open [0-9]+ 1 ')
closes=$(count $WIN '^close ')
listed=$(count $WIN '^enumerate - [1-9]')
freed=$(count $WIN '^free_enumeration ')
inits=$(count $WIN '^init ') exits=$(count $WIN '^exit ')
udev=$(count $WIN '^udev ')
echo "storm: $udev udev events seen; handles opened $opens, closed $closes;" \
     "enumerations with devices $listed, freed $freed; hid_init $inits, hid_exit $exits"
echo "storm: VmRSS $rss_before -> $rss_after kB, descriptors $fds_before -> $fds_after; close $close_ms ms, exit $rc"

[ "$rc" = 0 ] || fail "exit status $rc"
! grep -qE 'Sanitizer|runtime error' "$WORK"/*.out || fail "sanitizer report"
[ "$opens" -gt 0 ] && [ "$opens" = "$closes" ] || fail "handles: $opens opened, $closes closed"
[ "$listed" = "$freed" ] || fail "enumerations: $listed with devices, $freed freed"
[ "$inits" = 1 ] && [ "$exits" = 1 ] || fail "hid_init $inits times, hid_exit $exits times"
[ "$fds_after" -le "$fds_before" ] || fail "descriptors $fds_before -> $fds_after: $(diff "$WORK/fds.before" "$WORK/fds.after")"
if [ -n "$rss_slack" ]; then
    [ $((${rss_after% *} - ${rss_before% *})) -le "$rss_slack" ] || fail "memory grew by more than $rss_slack kB"
fi
[ "$close_ms" -lt 1100 ] || fail "the close took $close_ms ms"
echo "ok"
