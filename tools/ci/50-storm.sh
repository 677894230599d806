#!/bin/bash
# Plug/unplug storms against the real window (tools/storm/storm.sh): 300 toggles
# with random faults on the release build, memory checked; 100 on the ASan+UBSan
# build, where any report or leak at exit fails the run. Then two users' windows
# side by side in one temp folder (tools/storm/two_users.sh). Needs the stand-in
# libraries that the test builds of tools/setup.sh make.
set -euo pipefail
top=${QUORLIN_TOP:?}
release=${QUORLIN_BUILD:-$top/build/release}
asan=${QUORLIN_ASAN_BUILD:-$top/build/asan}
supp=$top/tests/sanitizers

echo "--- storm, release build"
bash "$top/tools/storm/storm.sh" "$release" 300 1024

echo "--- two users"
bash "$top/tools/storm/two_users.sh" "$release"

echo "--- storm, ASan+UBSan build"
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    bash "$top/tools/storm/storm.sh" "$asan" 100
