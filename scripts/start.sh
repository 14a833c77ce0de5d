#!/usr/bin/env bash
# Builds everything, builds the text database 1.db when it is missing, and starts the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"
[ -f 1.db ] || ./build/tools/kevran-builddb --output 1.db
exec ./build/kevran
