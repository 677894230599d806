#!/bin/bash
# The Win32 window's pictures under Wine: both languages against the stand-in light with
# the shipped red.she, at 96, 144 and 192 dots per inch; every control's text must fit
# its room (tests/blackbox/windows/pictures.sh). The pictures stay in
# build/windows/pictures; docs/windows-*.png are the 96 dpi ones.
set -euo pipefail
top=${QUORLIN_TOP:?}
build=${QUORLIN_WINDOWS_BUILD:-$top/build/windows}  # another build folder for a local run
cmake --build "$build" -j 2 --target quorlin readback quorlin-standin-light quorlin_standin_win_hid \
    quorlin_standin_win_cfgmgr32 hidapi-standin-probe >/dev/null
export QUORLIN_EXE=$build/quorlin.exe READBACK_EXE=$build/tools/wine/readback.exe \
       STANDIN_BIN=$build/tools/standin/windows/bin
status=0
for dpi in 96 144 192; do
    bash "$top/tests/blackbox/windows/pictures.sh" "$dpi" "$build/pictures" || status=1
done
exit $status
