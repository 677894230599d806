#!/bin/bash
# quorlin-demo.exe --trace with standard error redirected: the light's traffic reaches
# standard error line by line (the status query's read), and never standard output.
#   trace_option_test.sh <run-test> <prefix> <quorlin-demo.exe>
set -uo pipefail
[ $# = 3 ] || { echo "usage: trace_option_test.sh <run-test> <prefix> <program.exe>" >&2; exit 2; }
[ -n "${DISPLAY:-}" ] || { echo "SKIP: the window needs a display (run under xvfb-run)"; exit 77; }
work=$(mktemp -d)
program=
trap '[ -n "$program" ] && kill "$program" 2>/dev/null; wait 2>/dev/null; rm -rf "$work"' EXIT
cd "$work" || exit 1
"$@" --trace >out 2>err </dev/null &
program=$!
for _ in $(seq 200); do
    grep -q '^read: m_temp_index:' err && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
kill "$program" 2>/dev/null; wait "$program" 2>/dev/null; program=
failures=0
grep -q '^read: m_temp_index:' err || { echo "FAIL: no trace line on standard error: $(head -c 400 err)" >&2; failures=1; }
grep -q 'm_temp_index' out && { echo "FAIL: trace lines on standard output" >&2; failures=1; }
[ $failures = 0 ] && echo ok
exit $failures
