#!/usr/bin/env bash
# Fails, naming the files, when a tracked C++ source differs from what clang-format makes of it
# with the repository's .clang-format. Outside a git checkout every source under the root counts.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
command -v clang-format >/dev/null || { echo "clang-format is not installed" >&2; exit 1; }
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    mapfile -t files < <(git ls-files '*.cpp' '*.h')
else
    mapfile -t files < <(find . -path './build*' -prune -o \( -name '*.cpp' -o -name '*.h' \) -print)
fi
mapfile -t differing < <(clang-format --dry-run -Werror "${files[@]}" 2>&1 |
    sed -n 's/^\([^: ]*\):[0-9]*:[0-9]*: error:.*/\1/p' | sort -u)
if [ ${#differing[@]} -gt 0 ]; then
    echo "Not formatted (run: clang-format -i FILE):" >&2
    printf '  %s\n' "${differing[@]}" >&2
    exit 1
fi
echo "${#files[@]} files formatted"
