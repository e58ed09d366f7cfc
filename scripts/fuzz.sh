#!/usr/bin/env bash
# Runs each libFuzzer target for SECONDS seconds on a corpus kept in BUILD/fuzz,
# seeded from tests/fuzz/seeds, JOBS targets at a time (each takes one core).
# A crash leaves its input in BUILD/fuzz/crashes and fails the run; add it to
# the seeds and to a test once it is fixed.
#   scripts/fuzz.sh BUILD SECONDS
set -euo pipefail
build=$1
seconds=$2
jobs=${JOBS:-2}
bin="$build/fuzz/tests/fuzz"
logs="$build/fuzz/logs"
mkdir -p "$build/fuzz/crashes" "$logs"
targets=(sendkeys parameters modern_parameter digest)

fuzz() {
  local target=$1
  local corpus="$build/fuzz/corpus/$target"
  mkdir -p "$corpus"
  "$bin/fuzz_$target" -max_total_time="$seconds" -max_len=1024 -timeout=20 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz/crashes/$target-" "$corpus" "tests/fuzz/seeds/$target" >"$logs/$target.log" 2>&1 || true
}

running=0
for target in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
  fuzz "$target" &
  running=$((running + 1))
done
wait

failed=0
for target in "${targets[@]}"; do
  echo "fuzz_$target: $seconds s"
  grep -E "^(Done|stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)" "$logs/$target.log" || true
  if ls "$build/fuzz/crashes/$target-"* >/dev/null 2>&1; then
    echo "fuzz_$target: crash inputs in $build/fuzz/crashes (log: $logs/$target.log)" >&2
    failed=1
  elif ! grep -q "^Done" "$logs/$target.log"; then
    echo "fuzz_$target: did not run to its end (log: $logs/$target.log)" >&2
    failed=1
  fi
done
exit "$failed"
