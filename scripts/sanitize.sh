#!/usr/bin/env bash
# The whole test suite built with AddressSanitizer and UndefinedBehaviorSanitizer (g++) in
# build-asan/, then each fuzz target for FUZZ_SECONDS seconds (default 30; 0 skips them).
# Any sanitizer report fails the test it happens in.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/stage.sh
stage "sanitizer packages" bash -c 'bash scripts/setup-deps.sh && bash scripts/setup-sanitizer-deps.sh'

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKEVRAN_SANITIZE=ON -DKEVRAN_WERROR=ON >/dev/null
stage "sanitizer build" cmake --build build-asan -j"$(nproc)"

# Leaks of the libraries below the program (fontconfig, the Qt platform plugin) are not ours to
# fix: tests/lsan.supp names them; everything else counts.
export ASAN_OPTIONS=detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd build-asan && QT_QPA_PLATFORM=offscreen stage "sanitizer tests" \
    ctest --output-on-failure -j"$(nproc)" -LE 'package|format')

seconds=${FUZZ_SECONDS:-30}
if [ "$seconds" -gt 0 ]; then
    FUZZ_PARALLEL=$(nproc) stage "fuzzing" bash fuzz/run.sh "$seconds"
fi
