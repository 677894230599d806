#!/bin/bash
# quorlinctl and quorlin-demo as installed: both programs and their gzipped manual
# pages in place, the pages free of formatting warnings, and the installed tool
# working against its simulated light. Uses build/release as tools/setup.sh left it.
set -euo pipefail
top=${QUORLIN_TOP:?}
build=${QUORLIN_BUILD:-$top/build/release}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$tmp/stage cmake --install "$build" --prefix /usr >/dev/null
usr=$tmp/stage/usr
for f in bin/quorlinctl bin/quorlin-demo share/man/man1/quorlinctl.1.gz share/man/man1/quorlin-demo.1.gz; do
    [ -f "$usr/$f" ] || fail "not installed: /usr/$f"
done
for page in quorlinctl quorlin-demo; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$page.1: $warnings"
done

ctl=$usr/bin/quorlinctl
"$ctl" --help | grep -q '^  6 ' || fail "--help lacks the exit codes"
json=$("$ctl" --simulate status --json)
[ "$json" = '{"brightness":90,"breathing":30,"light_mode":2,"operation_mode":2,"parameters":[180,180,170,50],"los_calc":0}' ] ||
    fail "status --json printed '$json'"
set +e
"$ctl" --simulate set brightness 101 2>"$tmp/err"; rc=$?
set -e
[ $rc = 2 ] && grep -q '^usage: quorlinctl' "$tmp/err" || fail "a value out of range gave exit $rc"
echo "ok"
