#!/usr/bin/env bash
# Builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
# shellcheck disable=SC2046
bash scripts/ensure-packages.sh $(cat scripts/build-packages.txt)
cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default
