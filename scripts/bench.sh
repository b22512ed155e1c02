#!/usr/bin/env bash
# Builds the benchmark at -O2 in build/bench and runs it on the demo product.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build/bench
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS=-O2 \
  -DPICTAVORN_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target lzh_bench demo_product >/dev/null
"$build/tests/bench/lzh_bench" "$build/demo"
