#!/usr/bin/env bash
# Runs each libFuzzer target for SECONDS seconds on a corpus kept in BUILD/fuzz,
# seeded from tests/fuzz/seeds. A crash leaves its input in BUILD/fuzz/crashes
# and fails the run; add it to the seeds and to a test once it is fixed.
#   scripts/fuzz.sh BUILD SECONDS
set -euo pipefail
build=$1
seconds=$2
bin="$build/fuzz/tests/fuzz"
mkdir -p "$build/fuzz/crashes"
for target in sendkeys parameters modern_parameter digest; do
  corpus="$build/fuzz/corpus/$target"
  mkdir -p "$corpus"
  echo "fuzz_$target: $seconds s"
  "$bin/fuzz_$target" -max_total_time="$seconds" -max_len=1024 -timeout=20 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz/crashes/$target-" "$corpus" "tests/fuzz/seeds/$target" 2>&1 |
    grep -E "^(Done|stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)" || true
  if ls "$build/fuzz/crashes/$target-"* >/dev/null 2>&1; then
    echo "fuzz_$target: crash inputs in $build/fuzz/crashes" >&2
    exit 1
  fi
done
