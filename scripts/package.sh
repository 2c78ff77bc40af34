#!/usr/bin/env bash
# Builds the Debian package build/release/swr2305_<version>-<revision>_amd64.deb with CPack from the
# release build (preset release: /usr prefix, no tests) and runs lintian on it, which must
# report no error. --clean builds from an empty build tree.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
if [ "${1:-}" = "--clean" ]; then
  rm -rf build/release
fi
cmake --preset release >/dev/null
nice -n 10 cmake --build --preset release
rm -f build/release/swr2305_*.deb
(cd build/release && cpack -G DEB >/dev/null)
deb=$(ls build/release/swr2305_*_amd64.deb)
# Lintian's own checks, no overrides: errors fail, warnings are listed in the README.
lintian --fail-on error "$deb"
echo "$deb"
