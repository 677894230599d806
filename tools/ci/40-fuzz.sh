#!/bin/bash
# The fuzz targets (tools/fuzz): built with clang in their own folder, each run for
# QUORLIN_FUZZ_SECONDS (default 20) from its committed seeds, two at a time. Any
# crash, sanitizer report or broken invariant fails the step; the input that did
# it is kept in the build folder's crashes/ and printed as hex.
set -euo pipefail
top=${QUORLIN_TOP:?}
build=${QUORLIN_FUZZ_BUILD:-$top/build/fuzz}
seconds=${QUORLIN_FUZZ_SECONDS:-20}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

cmake -S "$top/tools/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_COMPILER=clang++ "${launcher[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" >/dev/null

run() {  # run <target>: fuzz it, leave its log and exit status in the build folder
    local target=$1 work=$build/run/$1
    rm -rf "$work" && mkdir -p "$work/corpus" "$build/crashes"
    cp "$top/tools/fuzz/corpus/$target/"* "$work/corpus/"
    local status=0
    (cd "$work" && "$build/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/crashes/$target-" corpus >log 2>&1) || status=$?
    echo "$status" >"$work/status"
}

rm -rf "$build/crashes"
targets=(profile_fuzz language_fuzz status_reply_fuzz udev_record_fuzz)
for ((i = 0; i < ${#targets[@]}; i += 2)); do
    run "${targets[i]}" &
    [ $((i + 1)) -lt ${#targets[@]} ] && run "${targets[i + 1]}" &
    wait
done

failed=0
for target in "${targets[@]}"; do
    work=$build/run/$target
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$work/log")
    if [ "$(cat "$work/status")" = 0 ]; then
        echo "$target: ${runs:-?} runs in ${seconds} s, ${rate:-?} exec/s, no crash"
    else
        failed=1
        echo "FAIL: $target (exit $(cat "$work/status"))" >&2
        grep -E -A30 '^==[0-9]+==|^SUMMARY|deadly signal|Test unit written' "$work/log" | head -60 >&2 || tail -30 "$work/log" >&2
        for input in "$build/crashes/$target-"*; do
            [ -e "$input" ] && { echo "input $input:"; od -A x -t x1z "$input" | head -20; } >&2
        done
    fi
done
exit $failed
