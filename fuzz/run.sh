#!/usr/bin/env bash
# Builds the fuzz targets with clang in build-fuzz/ and runs each for the given number of
# seconds (default 30). New inputs found go to build-fuzz/corpus/<target>/;
# the seeds in fuzz/corpus/<target>/ are only read. A crash stops the run with its input saved
# as build-fuzz/crashes/<target>/crash-... and the script fails.
#
# Environment: FUZZ_BUILD_DIR (default build-fuzz), FUZZ_TARGETS (default all), FUZZ_JOBS
# (build jobs, default the number of cores), FUZZ_PARALLEL (targets run at once, default 1).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
seconds=${1:-30}
build=${FUZZ_BUILD_DIR:-build-fuzz}
targets=${FUZZ_TARGETS:-"settings_stream smtp_reply address_list integer_text like_matcher
    ini_document tanzil_reader nahj_reader topic_index reader_import"}

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKEVRAN_FUZZ=ON -DKEVRAN_SANITIZE=ON -DKEVRAN_WERROR=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target kevran_fuzz -j"${FUZZ_JOBS:-$(nproc)}"

export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# One target: its log in build-fuzz/fuzz_<target>.log, its exit status as the function's.
run_target() {
    local target=$1 corpus="$build/corpus/$1" crashes="$build/crashes/$1" max_len=8192
    mkdir -p "$corpus" "$crashes"
    # Room for the SMTP reader's longest line.
    [ "$target" = smtp_reply ] && max_len=40000
    "$build/fuzz/fuzz_$target" "$corpus" "fuzz/corpus/$target" \
        -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$crashes/" -print_final_stats=1 >"$build/fuzz_$target.log" 2>&1
}

# FUZZ_PARALLEL targets at a time (default 1).
parallel=${FUZZ_PARALLEL:-1}
declare -A pids=()
for target in $targets; do
    while [ "$(jobs -rp | wc -l)" -ge "$parallel" ]; do
        wait -n || true
    done
    echo "== fuzz_$target for ${seconds}s"
    run_target "$target" &
    pids[$target]=$!
done
failed=()
for target in $targets; do
    if ! wait "${pids[$target]}"; then
        failed+=("$target")
        echo "== fuzz_$target failed:"
        tail -n 60 "$build/fuzz_$target.log"
    fi
    echo "fuzz_$target: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$build/fuzz_$target.log" || echo 'no final line')"
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "Fuzz targets failed: ${failed[*]}" >&2
    exit 1
fi
echo "All fuzz targets ran ${seconds}s each without a fault."
