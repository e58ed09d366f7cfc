#!/usr/bin/env bash
# Runs the Wine suites of both builds N times and prints, per test, how many
# runs failed: a check that fails one run in ten shows here before it blocks
# anyone's submission. Both builds run at once, each in its own Wine session, so
# the machine is busier than in make test.
#   scripts/repeat.sh BUILD N
set -uo pipefail
build=$1
runs=$2
out="$build/repeat"
rm -rf "$out"
mkdir -p "$out"

# Not timing: the layer rule, the PE read, the package and its signing are the same every run.
skip='^(layers|pe_check|package|signing)$'

run_arch() {
  local arch=$1 tree=$2
  local env=()
  [ "$arch" = win64 ] && env=(LULLEX_WINEARCH=win64)
  env "${env[@]}" scripts/wine-session.sh "$build" bash -c '
    tree=$1; out=$2; arch=$3; runs=$4; skip=$5
    for i in $(seq 1 "$runs"); do
      start=$(date +%s)
      ctest --test-dir "$tree" --output-on-failure --timeout 300 -E "$skip" >"$out/$arch-$i.log" 2>&1
      echo "$arch run $i: exit $?, $(( $(date +%s) - start )) s"
    done
  ' _ "$tree" "$out" "$arch" "$runs" "$skip"
}

run_arch win32 "$build/win32" &
first=$!
sleep 5  # the second session then finds the first one's display taken
run_arch win64 "$build/win64"
wait "$first"

echo
echo "failed runs of $runs, per test (ctest suites, then Google Test cases):"
failures=0
for arch in win32 win64; do
  # A suite that failed: ctest's "***Failed" or "***Timeout" line.
  for suite in $(cat "$out/$arch"-*.log | sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([a-z0-9_]*\) \.*\*\*\*.*/\1/p' | sort -u); do
    n=$(grep -l -E "Test +#[0-9]+: $suite \.+\*\*\*" "$out/$arch"-*.log | wc -l)
    printf '  %-6s %-20s %2d\n' "$arch" "$suite" "$n"
    failures=$((failures + n))
  done
  # A case that failed, counted once per run.
  for case in $(cat "$out/$arch"-*.log | sed -n 's/^\[  FAILED  \] \([A-Za-z0-9_/.]*\).*/\1/p' | sort -u); do
    n=$(grep -l -F "[  FAILED  ] $case" "$out/$arch"-*.log | wc -l)
    printf '  %-6s   %-40s %2d\n' "$arch" "$case" "$n"
  done
done
passed=$(grep -l "100% tests passed" "$out"/*.log | wc -l)
echo "runs that passed: $passed of $((2 * runs)) (logs in $out)"
[ "$failures" -eq 0 ]
