#!/usr/bin/env bash
# Runs each libFuzzer target for the given number of seconds (default 600):
#   scripts/fuzz.sh [SECONDS] [TARGET ...]     targets: pargen nmea mqtt language compile settings csv
# The corpus grows in build/fuzz/corpus/<target>, seeded from tests/data/fuzz/<target>.
# An input that crashes or hangs a target is left in build/fuzz/findings/<target>; copy
# it into tests/data/fuzz/<target>/ so the regression test replays it.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
seconds=${1:-600}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(pargen nmea mqtt language compile settings csv)
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target "${targets[@]/#/fuzz_}"
status=0
for t in "${targets[@]}"; do
  exe="build/fuzz/tests/fuzz/fuzz_$t"
  [ -x "$exe" ] || { echo "no fuzz target $t" >&2; exit 2; }
  corpus="build/fuzz/corpus/$t"; findings="build/fuzz/findings/$t"
  mkdir -p "$corpus" "$findings"
  echo "== fuzz_$t for ${seconds}s =="
  if ! "$exe" "$corpus" "tests/data/fuzz/$t" -max_total_time="$seconds" -timeout=10 \
       -rss_limit_mb=4096 -artifact_prefix="$findings/" -print_final_stats=1 2>"build/fuzz/$t.log"; then
    echo "fuzz_$t FOUND A PROBLEM: see build/fuzz/$t.log and $findings" >&2
    status=1
  fi
  grep -E 'stat::number_of_executed_units|Done' "build/fuzz/$t.log" || true
done
exit $status
