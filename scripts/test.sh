#!/usr/bin/env bash
# Builds everything and runs every test: once as released, once under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck disable=SC2046
bash scripts/ensure-packages.sh $(cat scripts/build-packages.txt)
for preset in default asan; do
    echo "== ${preset} =="
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
    ctest --preset "$preset"
done
