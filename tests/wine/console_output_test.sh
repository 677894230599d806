#!/bin/bash
# A window program started from a console prints into that console: cmd on a terminal
# of its own (script's pseudo-terminal) starts the program with no redirection. Wine
# hands the program cmd's console handles, so this shows what the user sees, not which
# of the two ways (those handles, or attaching to the parent's console) carried it.
# Wine's console draws on the terminal with escape sequences (cursor moves for blanks);
# those are read back as text.
#   console_output_test.sh <expected line> <run-test> <prefix> <program.exe>
set -uo pipefail
[ $# = 4 ] || { echo "usage: console_output_test.sh <line> <run-test> <prefix> <program.exe>" >&2; exit 2; }
expected=$1 run_test=$2 prefix=$3 program=$4
command -v script >/dev/null || { echo "SKIP: no script(1)"; exit 77; }
cd "$(dirname "$program")" || exit 1
printf -v line '%q ' "$run_test" "$prefix" cmd /c "$(basename "$program")" --version
seen=$(timeout 120 script -qec "$line" /dev/null </dev/null |
    sed -e 's/\x1b\[[0-9]*C/ /g' -e 's/\x1b\[[0-9;?]*[A-Za-z]//g' | tr -d '\r')
if grep -qxF "$expected" <<<"$seen"; then
    echo ok
else
    echo "FAIL: the console showed: $(cat -A <<<"$seen")" >&2
    exit 1
fi
