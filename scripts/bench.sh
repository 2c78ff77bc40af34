#!/usr/bin/env bash
# Times compiling the largest configuration the editors can produce, and the empty one,
# next to only parsing the same three files; then opening Set Communication and a click on
# "Enable TLS" (offscreen). Arguments go to both programs (--benchmark_filter=...).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
bash scripts/setup.sh
cmake --preset default >/dev/null
cmake --build --preset default --target compile_bench pargen_bench
build/default/benchmarks/compile_bench "$@"
QT_QPA_PLATFORM=offscreen exec build/default/benchmarks/pargen_bench "$@"
