#!/usr/bin/env bash
# Checks the layout of the sources, then builds everything and runs every test: once as released, once under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck disable=SC2046
bash scripts/ensure-packages.sh $(cat scripts/build-packages.txt) clang-format
echo "== format =="
# Every C++ source as .clang-format lays it out (the build folders hold generated code).
find . \( -path './build*' -o -path ./.git \) -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print0 |
    xargs -0 clang-format --dry-run -Werror
for preset in default asan; do
    echo "== ${preset} =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
