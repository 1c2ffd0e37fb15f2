#!/usr/bin/env bash
# Builds the program with its question file and starts it next to that file.
set -euo pipefail
cd "$(dirname "$0")/.."
packages=$(cat scripts/build-packages.txt)
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    # No desktop session: the program gets a virtual screen of its own.
    packages="$packages xvfb xauth"
fi
# shellcheck disable=SC2086
bash scripts/ensure-packages.sh $packages
cmake --preset default >/dev/null
cmake --build --preset default
cd build/default
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting on a virtual screen (xvfb-run)."
    exec xvfb-run -a ./harunire-km
fi
exec ./harunire-km
