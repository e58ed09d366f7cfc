#!/usr/bin/env bash
# Runs the Wine suites of both builds N times and prints, per test, how many
# runs failed: a check that fails one run in ten shows here before it blocks
# anyone's submission. The suites run side by side in their four Wine sessions,
# as in make test (scripts/wine-suites.sh).
#   scripts/repeat.sh BUILD N
set -uo pipefail
build=$1
runs=$2
out="$build/repeat"

# Not timing: the layer rule, the PE read, the package and its signing are the same every run.
scripts/wine-suites.sh "$build" --repeat "$runs" -E '^(layers|pe_check|package|signing)$'

# The sessions as wine-suites.sh named their logs.
sessions=($(cd "$out" && ls -- *-1.log | sed 's/-1\.log$//'))
echo
echo "failed runs of $runs, per test (ctest suites, then Google Test cases):"
failures=0
for session in "${sessions[@]}"; do
  # A suite that failed: ctest's "***Failed" or "***Timeout" line.
  for suite in $(cat "$out/$session"-[0-9]*.log | sed -n 's/^ *[0-9]*\/[0-9]* Test *#[0-9]*: \([a-z0-9_]*\) \.*\*\*\*.*/\1/p' | sort -u); do
    n=$(grep -l -E "Test +#[0-9]+: $suite \.+\*\*\*" "$out/$session"-[0-9]*.log | wc -l)
    printf '  %-12s %-42s %2d\n' "$session" "$suite" "$n"
    failures=$((failures + n))
  done
  # A case that failed (SUITE.NAME, not gtest's count line), counted once per run.
  for case in $(cat "$out/$session"-[0-9]*.log | sed -n 's/^\[  FAILED  \] \([A-Za-z0-9_/]*\.[A-Za-z0-9_/.]*\).*/\1/p' | sort -u); do
    n=$(grep -l -F "[  FAILED  ] $case" "$out/$session"-[0-9]*.log | wc -l)
    printf '  %-12s   %-40s %2d\n' "$session" "$case" "$n"
  done
done
passed=$(grep -l "100% tests passed" "$out"/*.log | wc -l)
echo "runs that passed: $passed of $((${#sessions[@]} * runs)) (logs in $out)"
[ "$failures" -eq 0 ]
