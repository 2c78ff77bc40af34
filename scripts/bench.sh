#!/usr/bin/env bash
# Times compiling the largest configuration the editors can produce, and the empty one,
# next to only parsing the same three files, through the program's loader and by libxml2
# alone building its own tree (with the compile/parse and compile/floor ratios); the CSV
# export and import of 1024 publish rules; then the screens offscreen: opening Set
# Communication and a click on "Enable TLS", the NMEA 0183 access and MQTT topic screens,
# Change_Language over every screen, and the live monitor taking in messages on 1024
# topics from a real mosquitto on 127.0.0.1; last the start of the whole program to its
# main window's first paint against a bare Qt window, under Xvfb.
# Arguments go to every program (--benchmark_filter=...).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
benches=(compile_bench csv_bench pargen_bench nmea_screen_bench mqtt_screen_bench language_bench map_bench monitor_bench)
cmake --preset default >/dev/null
cmake --build --preset default --target "${benches[@]}" startup_bench
for b in "${benches[@]}"; do
  echo "== $b =="
  QT_QPA_PLATFORM=offscreen "build/default/benchmarks/$b" "$@"
done
echo "== startup_bench =="
xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb build/default/benchmarks/startup_bench "$@"
