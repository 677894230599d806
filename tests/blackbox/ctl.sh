#!/bin/bash
# The real quorlinctl against the stand-in light: what it prints, what reaches the
# wire, and that every refusal exits with its own code and sends no settings.
. "$(dirname "$0")/lib.sh"

ctl settings 01 02 28 1e b4 b4 aa 32 01 01 0f 00 02 0a
qctl status
[ $RC = 0 ] || fail "status exit $RC: $OUT"
for line in "brightness: 40" "breathing: 30" "operation mode: Manual (1)" \
            "parameters: 180 180 170 50" "LOS_CALC: 0A"; do
    grep -qxF "$line" <<<"$OUT" || fail "status lacks '$line': $OUT"
done
qctl status --json
[ $RC = 0 ] && grep -q '"brightness":40,' <<<"$OUT" && grep -q '"los_calc":10}' <<<"$OUT" ||
    fail "status --json: $OUT"

# A change reads the light first and keeps every other setting.
qctl set brightness 55
[ $RC = 0 ] || fail "set exit $RC: $OUT"
[ "$(count - "$SETTINGS_WRITE")" = 1 ] || fail "set sent other than one settings report"
calls - "$SETTINGS_WRITE" | grep -q ' 0011010237' || fail "set sent the wrong report"
[ "$(tr -d ' \n' <"$DIR/settings")" = 010237"1eb4b4aa3201010f00020a" ] ||
    fail "light holds $(cat "$DIR/settings")"

# expected exit | light's condition | arguments
while IFS='|' read -r want condition args; do
    ctl plug; ctl fail-open off; ctl reply normal
    [ "$condition" = launcher ] && start_launcher
    [ "$condition" = launcher ] || [ "$condition" = - ] || ctl $condition
    before=$(count - '^(open|write)')
    qctl $args
    [ -n "${LAUNCHER:-}" ] && { kill "$LAUNCHER"; wait "$LAUNCHER" 2>/dev/null; LAUNCHER=; }
    [ "$RC" = "$want" ] || fail "'$args' ($condition): exit $RC, not $want: $OUT"
    [ "$(count - "$SETTINGS_WRITE")" = 1 ] || fail "'$args' ($condition) sent settings"
    if [ "$want" = 2 ] || [ "$want" = 4 ]; then
        [ "$(count - '^(open|write)')" = "$before" ] || fail "'$args' ($condition) touched the light"
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
# Garbage in any control file reads as that file's default: never a crash or a hang.
ctl plug; ctl fail-open off; ctl reply normal; ctl fail-write off
for file in present interfaces serial open-error fail-write reply settings; do
    head -c 3000 /dev/urandom >"$DIR/$file"
    qctl status
    [ "$RC" -le 5 ] || fail "status with a garbled '$file': exit $RC: $OUT"
    rm -f "$DIR/$file"
done
echo "ok"
