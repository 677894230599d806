#!/bin/bash
# quorlinctl.exe under Wine against the Windows stand-in light, through hidapi's own
# Windows code: what it prints, what reaches the wire, and that every refusal exits with
# its own code and sends no settings. Set by CTest: QUORLINCTL_EXE, STANDIN_BIN (the
# stand-in's DLLs, light and probe), STANDIN_PREFIX (a Wine prefix kept warm).
[ -n "${QUORLINCTL_EXE:-}" ] && [ -n "${STANDIN_BIN:-}" ] || { echo "FAIL: QUORLINCTL_EXE and STANDIN_BIN must be set" >&2; exit 1; }
. "$(dirname "$0")/../../../tools/standin/windows/lib.sh"

SETTINGS_WRITE='^write 0 65 - 0011'
standin_up "$STANDIN_BIN"
folder=$(program_folder ctl "$QUORLINCTL_EXE")
qctl() { run_fg "$folder" quorlinctl.exe "$@"; }

ctl settings 01 02 28 1e b4 b4 aa 32 01 01 0f 00 02 0a
qctl status
[ $RC = 0 ] || fail "status exit $RC: $OUT"
for line in "brightness: 40" "breathing: 30" "operation mode: Manual (1)" \
            "parameters: 180 180 170 50" "LOS_CALC: 0A"; do
    grep -qxF "$line" <<<"$OUT" || fail "status lacks '$line': $OUT"
done
calls '^write 0 65 - 001201(00){62}$' >/dev/null || fail "no 65-byte status request on the wire"
qctl status --json
[ $RC = 0 ] && grep -q '"brightness":40,' <<<"$OUT" && grep -q '"los_calc":10}' <<<"$OUT" ||
    fail "status --json: $OUT"

# A change reads the light first and keeps every other setting.
qctl set brightness 55
[ $RC = 0 ] || fail "set exit $RC: $OUT"
[ "$(count "$SETTINGS_WRITE")" = 1 ] || fail "set sent other than one settings report"
calls "$SETTINGS_WRITE" | grep -q ' 0011010237' || fail "set sent the wrong report"
[ "$(tr -d ' \n' <"$DIR/settings")" = 010237"1eb4b4aa3201010f00020a" ] ||
    fail "light holds $(cat "$DIR/settings")"

qctl list
[ $RC = 0 ] && grep -q 'light 1: serial SIM0001, 1 interface' <<<"$OUT" && grep -q 'mi_00: openable' <<<"$OUT" ||
    fail "list: $OUT"

# The other lighting program: any process with its image name (the probe, renamed).
launcher_folder=$(program_folder launcher "$STANDIN_BIN/hidapi-standin-probe.exe")
mv "$launcher_folder/hidapi-standin-probe.exe" "$launcher_folder/SignalRgbLauncher.exe"

# expected exit | light's condition | arguments
while IFS='|' read -r want condition args; do
    ctl plug; ctl fail-open off; ctl reply normal; ctl fail-write off
    launcher=
    if [ "$condition" = launcher ]; then
        run_bg launcher "$launcher_folder" SignalRgbLauncher.exe --watch 20000
        launcher=$!
        wait_for "the launcher" grep -qs watching "$WORK/launcher.out"
    elif [ "$condition" != - ]; then
        ctl $condition
    fi
    sleep 0.2  # the light looks at its control files every 50 ms
    before=$(count '^(open|write)')
    sent=$(count "$SETTINGS_WRITE")
    qctl $args
    [ -n "$launcher" ] && { kill "$launcher"; wait "$launcher" 2>/dev/null; }
    [ "$RC" = "$want" ] || fail "'$args' ($condition): exit $RC, not $want: $OUT"
    [ "$(count "$SETTINGS_WRITE")" = "$sent" ] || fail "'$args' ($condition) sent settings"
    if [ "$want" = 2 ] || [ "$want" = 4 ]; then
        [ "$(count '^(open|write)')" = "$before" ] || fail "'$args' ($condition) touched the light"
    fi
done <<'CASES'
2|-|set brightness 101
2|-|params 0 1 1 1
4|launcher|set brightness 5
1|unplug|status
3|fail-open 0 EACCES|set brightness 5
5|reply none|set brightness 5
5|reply wrong|status
5|reply short|status
5|fail-write on|set brightness 5
CASES

# Garbage in any control file reads as that file's default: never a crash or a hang,
# in the light or in the DLLs.
ctl plug; ctl fail-open off; ctl reply normal; ctl fail-write off
for file in present interfaces serial open-error fail-write reply settings; do
    head -c 3000 /dev/urandom >"$DIR/$file"
    sleep 0.1
    qctl status
    [ "$RC" -le 5 ] || fail "status with a garbled '$file': exit $RC: $OUT"
    rm -f "$DIR/$file"
done
kill -0 "$STANDIN_LIGHT" || fail "the light ended on garbled control files"
echo "ok"
