#!/usr/bin/env bash
# Builds the fuzz targets in build/fuzz (or $FUZZ_BUILD) and runs each for the given seconds (default 60).
# Prints each target's executions and findings; exits non-zero on a finding.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$root/build/fuzz}
mkdir -p "$build" && build=$(cd "$build" && pwd)
cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j2 >/dev/null
status=0
for target in fuzz_lzh_decode fuzz_file_table; do
  work=$build/run-$target
  mkdir -p "$work/corpus"
  log=$work/log.txt
  # One worker: the machine's two cores are shared.
  if (cd "$work" && "$build/$target" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
        -print_final_stats=1 corpus >"$log" 2>&1); then
    result=ok
  else
    result=FINDING
    status=1
  fi
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
  echo "$target: $runs executions in ${seconds}s, $result"
  if [ "$result" != ok ]; then
    grep -E 'ERROR|SUMMARY|runtime error|Test unit written' "$log" | head -20 || true
    echo "full log: $log"
  fi
done
exit $status
