#!/bin/bash
# The Windows build: cross-built with mingw-w64 (cmake/mingw-w64.cmake) into
# build/windows, its suites run by ctest under Wine in the build tree's own prefix.
# The first configure fetches hidapi's Debian source package (tools/wine/fetch-hidapi.sh);
# later ones reuse it without the network.
set -euo pipefail
top=${QUORLIN_TOP:?}
build=${QUORLIN_WINDOWS_BUILD:-$top/build/windows}  # another build folder for a local run
jobs=$(nproc)

stop_wine() { "$top/tools/wine/prefix.sh" down "$build/wineprefix" || true; }
trap stop_wine EXIT

seconds() { echo "${EPOCHREALTIME/[.,]/}"; }   # microseconds
took() { local d=$(( $(seconds) - $1 )); printf '%d.%d s' $((d / 1000000)) $((d / 100000 % 10)); }

t=$(seconds)
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
echo "configure: $(took "$t")"

t=$(seconds)
cmake --build "$build" -j "$jobs"
echo "build: $(took "$t")"

[ -e "$build/wineprefix/.quorlin-ready" ] && prefix=warm || prefix=new
t=$(seconds)
# The platform suite makes real windows (the device notification window): Wine needs
# an X display for them.
env -u DISPLAY -u WAYLAND_DISPLAY xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir "$build" --output-on-failure -j "$jobs" --timeout 300
echo "tests under Wine ($prefix prefix): $(took "$t")"
