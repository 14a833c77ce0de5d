#!/usr/bin/env bash
# Builds everything with warnings as errors and runs the whole test suite.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
source scripts/stage.sh
stage "packages" bash scripts/setup-deps.sh
stage "configure" cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKEVRAN_WERROR=ON
stage "build" cmake --build build -j"$(nproc)"
cd build
QT_QPA_PLATFORM=offscreen stage "tests" ctest --output-on-failure -j"$(nproc)"
