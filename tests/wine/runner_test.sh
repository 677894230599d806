#!/bin/bash
# The Wine runner (tools/wine/run-test) as ctest uses it: a program's exit status and
# output reach the caller unchanged, and the prefix carries the project's settings.
#   runner_test.sh <run-test> <prefix> <exit_with.exe>
set -uo pipefail
run=$1 prefix=$2 program=$3
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

for status in 0 1 3 255; do
    out=$("$run" "$prefix" "$program" "$status")
    got=$?
    [ "$got" -eq "$status" ] || fail "status $status came back as $got"
    # A Windows program ends its text lines with CR LF.
    [ "$out" = "exit_with $status"$'\r' ] || fail "output for $status was '$out'"
done

query() { "$run" "$prefix" reg query "$1" /v "$2" 2>/dev/null | tr -d "\r"; }
query 'HKCU\Software\Wine\X11 Driver' Managed | grep -Eq 'Managed[[:space:]]+REG_SZ[[:space:]]+N$' ||
    fail "windows are still managed by the window manager"
query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' Tahoma |
    grep -q 'wqy-microhei.ttc,WenQuanYi Micro Hei' || fail "Tahoma does not link to WenQuanYi Micro Hei"

[ $failures -eq 0 ] && echo ok
exit $((failures > 0))
