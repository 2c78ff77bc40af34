#!/usr/bin/env bash
# Builds the configurator and starts it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target swr2305
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" = "" ]; then
  echo "No display found: run it under a virtual one, e.g. 'xvfb-run -a scripts/start.sh', or set DISPLAY." >&2
  exit 1
fi
exec "$root/build/default/src/ui/swr2305" "$@"
