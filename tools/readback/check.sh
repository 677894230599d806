#!/bin/bash
# readback.exe against readback-fixture.exe under Wine: every kind of control, the
# escapes, one control by id, a window that never appears, the focused control, and
# texts measured against their room.
#   check.sh DIR [PREFIX]   DIR holds both programs; PREFIX: the Wine prefix (default: a
#   private one under DIR, whose server is started on this run's display and stopped at
#   the end). It runs on an Xvfb of its own: the focus check must not meet the windows
#   of tests running beside it.
set -uo pipefail
[ $# -ge 1 ] || { echo "usage: check.sh DIR [PREFIX]" >&2; exit 2; }
dir=$(cd "$1" && pwd)
xvfb_pid= fixture= WINEPREFIX=
cleanup() {
    [ -n "$fixture" ] && kill "$fixture" 2>/dev/null && wait "$fixture" 2>/dev/null
    [ -n "$WINEPREFIX" ] && stop_prefix
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
}
trap cleanup EXIT
trap 'exit 1' TERM INT
# The server picks a free display number (-displayfd), so parallel tests never race
# for one.
if command -v Xvfb >/dev/null; then
    display_file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
    export DISPLAY=:$(cat "$display_file")
    rm -f "$display_file"
fi
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
own_prefix=
prefix=${2:-$dir/wine-prefix}
own_prefix=$([ $# -ge 2 ] || echo yes)
mkdir -p "$prefix"
export WINEPREFIX
WINEPREFIX=$(cd "$prefix" && pwd)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A private prefix's server goes with this run: the next one may have another display.
stop_prefix() {
    [ -n "$own_prefix" ] || return 0
    "$top/tools/wine/prefix.sh" down "$WINEPREFIX"
}
# A server left by a run that was killed would keep that run's display.
[ -n "$own_prefix" ] && stop_prefix
"$top/tools/wine/prefix.sh" up "$WINEPREFIX" || exit 1
cd "$dir" || exit 1

failures=0
check() {  # NAME EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then echo "ok   $1"; else
        echo "FAIL $1"; diff <(printf '%s\n' "$2") <(printf '%s\n' "$3") | sed 's/^/     | /'
        failures=$((failures + 1))
    fi
}

wine ./readback-fixture.exe </dev/null >/dev/null 2>&1 &
fixture=$!

tab=$'\t'
# The fixture names its window once every control is there and the window is shown.
wine ./readback.exe --title '读回 fixture' --wait 20000 >/dev/null
all=$(wine ./readback.exe --class QuorlinReadbackFixture)
check "the window's own line comes first, with its title" \
    "window${tab}QuorlinReadbackFixture${tab}visible=1${tab}enabled=1${tab}text=读回 fixture" \
    "$(head -1 <<<"$all" | cut -f1-4,6)"
check "one line per control, in creation order, with kind fields and escaped texts" \
"1001${tab}Static${tab}visible=1${tab}enabled=1${tab}rect=10,10,120,20${tab}text=亮度\\t50%
1002${tab}msctls_trackbar32${tab}visible=1${tab}enabled=1${tab}rect=10,40,200,30${tab}pos=90${tab}range=0..255${tab}text=
1003${tab}ComboBox${tab}visible=1${tab}enabled=1${tab}rect=10,80,150,24${tab}selected=1${tab}items=English|中文|a\\|b${tab}text=中文
1004${tab}Button${tab}visible=1${tab}enabled=1${tab}rect=10,120,100,20${tab}check=1${tab}text=Breathe
1005${tab}Button${tab}visible=1${tab}enabled=0${tab}rect=120,120,80,24${tab}text=&Apply
1006${tab}Edit${tab}visible=0${tab}enabled=1${tab}rect=10,160,100,40${tab}text=line 1\\r\\nline 2
1007${tab}Static${tab}visible=1${tab}enabled=1${tab}rect=10,210,40,20${tab}text=A text far too long for forty pixels" \
    "$(tail -n +2 <<<"$all" | sed 's/\t$//')"
check "the title finds the window too (UTF-8 argument)" "1004${tab}Button" \
    "$(wine ./readback.exe --title '读回 fixture' --id 1004 | cut -f1-2)"
check "--id prints that control only" "1" "$(wine ./readback.exe --class QuorlinReadbackFixture --id 1002 | wc -l)"

wine ./readback.exe --class NoSuchWindowClass --wait 200 >/dev/null 2>&1
check "a window that never appears: exit 1" "1" "$?"
wine ./readback.exe --wait 200 >/dev/null 2>&1
check "neither class nor title: usage error" "2" "$?"
check "--visible finds a shown window" "1" \
    "$(wine ./readback.exe --class QuorlinReadbackFixture --visible --wait 200 | grep -c '^window')"
check "a hidden window is found and said so" "visible=0" \
    "$(wine ./readback.exe --class QuorlinReadbackHidden | head -1 | cut -f3)"
check "--visible passes over a hidden one: exit 1" "1" \
    "$(wine ./readback.exe --class QuorlinReadbackHidden --visible --wait 200 >/dev/null 2>&1; echo $?)"

check "--focus prints the focused control alone" "1004${tab}Button" \
    "$(wine ./readback.exe --class QuorlinReadbackFixture --focus | cut -f1-2)"
fit=$(wine ./readback.exe --class QuorlinReadbackFixture --fit 'Tahoma,9' | tr -d '\r')
check "--fit: a short text fits its static" "fits=1" "$(grep '^1001' <<<"$fit" | grep -o 'fits=.')"
check "--fit: a long text does not, and says by how much" "fits=0 1" \
    "$(grep '^1007' <<<"$fit" | grep -o 'fits=.') $(grep '^1007' <<<"$fit" | sed -n 's/.*need=\([0-9]*\),.*room=\([0-9]*\),.*/\1 \2/p' | awk '{ print ($1 > $2) }')"
check "--fit: a combo box is measured" "1" "$(grep -c '^1003.*need=' <<<"$fit")"
check "--fit: a trackbar shows no text" "0" "$(grep -c '^1002.*need=' <<<"$fit")"
wine ./readback.exe --class QuorlinReadbackFixture --fit 'Tahoma' >/dev/null 2>&1
check "--fit without a size: usage error" "2" "$?"

[ "$failures" -eq 0 ] && echo "all passed" || echo "$failures failed"
[ "$failures" -eq 0 ]
