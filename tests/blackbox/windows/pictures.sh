#!/bin/bash
# The main window at one screen resolution, in English and in Japanese, against the
# stand-in light with the shipped red.she: a picture of each (PNG), and every control's
# text measured against its room by the read-back program (readback --fit, with the
# dialog's font, "MS Shell Dlg" 9 pt), the parameter panel shown. Prints one line per control that does not fit
# and fails if there is one.
#   pictures.sh DPI OUT_DIR     (QUORLIN_EXE, READBACK_EXE, STANDIN_BIN as for window.sh)
# The resolution is Wine's HKCU\Control Panel\Desktop\LogPixels, read when the prefix's
# server starts: set in a fresh prefix before the server that shows the window.
set -u
[ $# = 2 ] || { echo "usage: pictures.sh DPI OUT_DIR" >&2; exit 2; }
dpi=$1
mkdir -p "$2" && out=$(cd "$2" && pwd)
top=$(cd "$(dirname "$0")/../../.." && pwd)
own=$(mktemp -d)
# A screen that holds the window whole at 192 dpi (lib.sh's own is 1024 x 768).
Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$own/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb; rm -rf "$own"' EXIT
for _ in $(seq 100); do [ -s "$own/display" ] && break; sleep 0.1; done
[ -s "$own/display" ] || { echo "FAIL: no Xvfb" >&2; exit 1; }
export WINDOW_DISPLAY=:$(cat "$own/display")
export STANDIN_PREFIX=$own/prefix
"$top/tools/wine/prefix.sh" up "$STANDIN_PREFIX" >/dev/null || exit 1
WINEPREFIX=$STANDIN_PREFIX WINEDEBUG=-all wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD \
    /d "$dpi" /f </dev/null >/dev/null 2>&1 || { "$top/tools/wine/prefix.sh" down "$STANDIN_PREFIX"; echo "FAIL: LogPixels not set" >&2; exit 1; }
"$top/tools/wine/prefix.sh" down "$STANDIN_PREFIX"

. "$(dirname "$0")/window_lib.sh"
trap 'standin_cleanup; kill $xvfb; rm -rf "$own"' EXIT

misfits=0
for language in english japanese; do
    if [ $language = japanese ]; then
        printf '[Type]\nMyType=English,0;Japanese,1;\n' >"$APP/Language.ini"
        TITLE='Quorlin Sivane 設定ツール V2.3' connected='[接続済み]'
    else
        TITLE='Quorlin Sivane Setting Tool V2.3' connected='[Connected]'
    fi
    start_window
    wait_for "$connected" status_is "$connected"
    focus_window "$XWIN"
    # Drawn whole before the picture: the first paint after the status change is done
    # once a message to the window has been answered.
    rb --class '#32770' --title "$TITLE" --focus
    xwd -silent -id "$XWIN" | xwdtopnm 2>/dev/null | pnmtopng >"$out/windows-$language-$dpi.png" ||
        fail "no picture"
    # What a user can see is measured: the panel too (A, then C), not the light-mode
    # label and radios, which nothing shows.
    xdotool key a c
    wait_for "the panel" shows 1021 visible=1
    rb --class '#32770' --title "$TITLE" --fit 'MS Shell Dlg,9' || fail "readback --fit"
    RB=$(grep -P '\tvisible=1\t' <<<"$RB")
    measured=$(grep -c 'fits=' <<<"$RB")
    while IFS=$'\t' read -r id kind rest; do
        echo "does not fit: $dpi dpi $language control $id ($kind): $(tr '\t' ' ' <<<"$rest" | grep -o 'need=.*')"
        misfits=$((misfits + 1))
    done < <(grep 'fits=0' <<<"$RB")
    echo "$dpi dpi $language: $measured controls measured"
    focus_control 1003
    xdotool key alt+F4
    ends_within "$WIN" || fail "Alt+F4 did not end the program"
done
[ $misfits = 0 ]
