#!/usr/bin/env bash
# Times compiling the largest configuration the editors can produce, and the empty one,
# next to only parsing the same three files; then the NMEA 0183 access screen and the
# MQTT topic screen offscreen.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target compile_bench nmea_screen_bench mqtt_screen_bench
build/default/benchmarks/compile_bench "$@"
QT_QPA_PLATFORM=offscreen build/default/benchmarks/nmea_screen_bench "$@"
QT_QPA_PLATFORM=offscreen exec build/default/benchmarks/mqtt_screen_bench "$@"
