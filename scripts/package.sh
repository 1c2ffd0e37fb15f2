#!/usr/bin/env bash
# Builds the Debian package from this checkout: a Release build of its own (preset "package", in build/package),
# CPack, then lintian on the result. Prints where the package is.
set -euo pipefail
cd "$(dirname "$0")/.."
# The installed question file has a Japanese name: CPack's archive writer cannot store it in the C locale, which is
# what a fresh system's root shell may have.
export LC_ALL=C.UTF-8
# shellcheck disable=SC2046
bash scripts/ensure-packages.sh $(cat scripts/build-packages.txt)
cmake --preset package >/dev/null
cmake --build --preset package
rm -f build/package/harunire-km_*.deb
cpack --preset package
deb=$(ls "$PWD"/build/package/harunire-km_*.deb)
echo "Checking the package with lintian"
lintian --fail-on error,warning "$deb"
echo "lintian: no errors, no warnings"
echo "The package: $deb"
echo "Install it with: apt install $deb"
