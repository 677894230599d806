#!/bin/bash
# A program as a script sees it: its exit status, and its standard output and error
# compared whole with what is expected. A Windows console program ends its lines with
# CR LF; every line must, and the comparison is made without the CR.
#   ctl_output_test.sh <status> <expected stdout file|-> <expected stderr file|-> <command...>
# "-" expects nothing at all on that stream.
set -uo pipefail
want=$1 want_out=$2 want_err=$3
shift 3
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$@" >"$work/out" 2>"$work/err"
got=$?
[ "$got" -eq "$want" ] || fail "exit status $got, not $want"

compare() {
    local name=$1 file=$2 expected=$3
    if grep -qv $'\r$' "$file"; then
        fail "$name has a line that does not end in CR LF"
    fi
    tr -d '\r' <"$file" >"$file.lf"
    if [ "$expected" = - ]; then
        [ -s "$file.lf" ] && fail "$name should be empty"
    elif ! cmp -s "$file.lf" "$expected"; then
        fail "$name differs from $(basename "$expected")"
        diff "$expected" "$file.lf" >&2
    fi
}
compare "standard output" "$work/out" "$want_out"
compare "standard error" "$work/err" "$want_err"
[ $failures -eq 0 ] && echo ok
exit $((failures > 0))
