#!/usr/bin/env bash
# Sets Quorlin up on Debian 12 and then runs the program or the whole test suite.
#
#   bash tools/setup.sh run [demo]   install what is missing, build, start the program in
#                              build/run (demo: against a simulated light, no light needed)
#   bash tools/setup.sh test   install what is missing, build plain, ASan+UBSan and TSan
#                              configurations and run every test in each
#
# Package installation needs root (or sudo); everything else runs as any user.
set -euo pipefail

mode=${1:-}
program=quorlin
case "$mode ${2:-}" in
  "run "|"test ") ;;
  "run demo") program=quorlin-demo ;;
  *) echo "usage: bash tools/setup.sh run [demo] | test" >&2; exit 2 ;;
esac

top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$top"

packages=(build-essential cmake ninja-build pkg-config qt6-base-dev libhidapi-dev libudev-dev
          libgtest-dev libgmock-dev libbenchmark-dev fonts-wqy-microhei librsvg2-bin)
# Only the tests need these: an X server with a window manager and the tools that
# inspect and drive its windows (and the benchmark's X client library), a
# Wayland compositor and Qt's plugin for it, the fuzzers' compiler, the package
# checkers, and the Windows cross-build with Wine to run it (dpkg-dev also unpacks
# hidapi's source package for it).
[ "$mode" = test ] && packages+=(xvfb x11-utils xdotool openbox libxcb1-dev weston qt6-wayland clang libclang-rt-14-dev
                                 dpkg-dev file lintian desktop-file-utils appstream
                                 g++-mingw-w64-x86-64-posix wine wine64)
# The Windows packages: the installer's compiler, the zip's lister, the icon's reader.
[ "$mode" = test ] && packages+=(nsis unzip icoutils)
# The Win32 window's black-box tests and pictures: keys and clicks, and the X window
# dumped to PNG.
[ "$mode" = test ] && packages+=(xdotool x11-apps netpbm)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"
  elif command -v sudo >/dev/null; then sudo "$@"
  else echo "setup: '$*' needs root" >&2; exit 1
  fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Lets the logged-in user reach the light without root. Only where udev runs the
# rules (a container without udev has nothing to reload).
rule=resources/70-quorlin.rules
if [ -f "$rule" ] && [ "$(id -u)" -eq 0 ] && [ -d /etc/udev/rules.d ]; then
  if ! cmp -s "$rule" /etc/udev/rules.d/70-quorlin.rules; then
    cp "$rule" /etc/udev/rules.d/70-quorlin.rules
    udevadm control --reload-rules >/dev/null 2>&1 && udevadm trigger --subsystem-match=hidraw >/dev/null 2>&1 || true
  fi
fi

build() {  # build <dir> <build type> <sanitizer>
  cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE="$2" -DQUORLIN_SANITIZE="$3" >/dev/null
  cmake --build "$1" -j "$(nproc)"
}

if [ "$mode" = run ]; then
  build build/release RelWithDebInfo ""
  # The program reads Language.ini and red.she from its current directory. The
  # language file is created once and then left to the program.
  mkdir -p build/run
  cp resources/red.she build/run/red.she
  [ -f build/run/Language.ini ] || cp resources/Language.ini build/run/Language.ini
  cd build/run
  exec "../release/$program"
fi

supp="$top/tests/sanitizers"
status=0
run_suite() {  # run_suite <dir>
  echo "=== tests in $1"
  ctest --test-dir "$1" --output-on-failure -j "$(nproc)" --timeout 300 || status=1
}

build build/release RelWithDebInfo ""
run_suite build/release

build build/asan Debug address
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  run_suite build/asan

build build/tsan Debug thread
TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$supp/tsan.supp" \
  run_suite build/tsan

# Checks beyond the unit suites (install tree and package, benchmark smoke run,
# fuzzers, black-box storms): one script each in tools/ci, run in name order with
# the build folders above already built.
for step in tools/ci/*.sh; do
  [ -e "$step" ] || continue
  echo "=== $(basename "$step" .sh)"
  QUORLIN_TOP="$top" bash "$step" || { echo "setup: $step failed" >&2; status=1; }
done

exit $status
