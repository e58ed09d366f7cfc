#!/usr/bin/env bash
# Runs the Wine suites of both builds side by side in four Wine sessions, each
# with its own Xvfb display (focus and foreground belong to a display) and its
# own Wine prefix, so that none can disturb another:
#   win32         the 32-bit build's tests, but those labelled modern  (BUILD/wineprefix)
#   win32-modern  Lullex.fmx in the 32-bit FileMaker 18: the 32-bit build's
#                 tests labelled modern                                (BUILD/wineprefix-modern)
#   win64         the 64-bit build's tests, but those labelled lock    (BUILD/wineprefix64)
#   win64-lock    the 64-bit build's tests labelled lock               (BUILD/wineprefix64-lock)
# A session whose filter leaves no test is not started. Each line is marked
# with its session; fails if a suite fails. At the end, the five slowest
# entries and their share of CTest's limit.
#   scripts/wine-suites.sh BUILD [--alongside COMMAND] [--repeat N] [CTEST_OPTION...]
# --alongside runs COMMAND meanwhile, on what CPU the suites leave idle (Linux's
#   SCHED_IDLE: it never takes a core a test wants); its output follows theirs,
#   and its failure fails the run.
# --repeat runs each suite N times, the output of run I in BUILD/repeat/SESSION-I.log.
set -uo pipefail
build=$1
shift
alongside=""
runs=""
while [ $# -gt 0 ]; do
  case $1 in
    --alongside) alongside=$2; shift 2 ;;
    --repeat) runs=$2; shift 2 ;;
    *) break ;;
  esac
done
sessions=(win32 win32-modern win64 win64-lock)
limit=300

suite() {
  local name=$1
  shift
  local env=() tree="$build/win32" filter=()
  case $name in
    win32) filter=(-LE modern) ;;
    win32-modern) env=(LULLEX_WINEPREFIX="$build/wineprefix-modern"); filter=(-L modern) ;;
    win64) env=(LULLEX_WINEARCH=win64); tree="$build/win64"; filter=(-LE lock) ;;
    win64-lock) env=(LULLEX_WINEARCH=win64 LULLEX_WINEPREFIX="$build/wineprefix64-lock"); tree="$build/win64"
      filter=(-L lock) ;;
  esac
  local ctest=(ctest --test-dir "$tree" --output-on-failure --timeout "$limit" "${filter[@]}" "$@")
  if ctest --test-dir "$tree" -N "${filter[@]}" "$@" | grep -q '^Total Tests: 0$'; then
    echo "[$name] no test to run here"
    return 0
  fi
  if [ -z "$runs" ]; then
    env "${env[@]}" scripts/wine-session.sh "$build" "${ctest[@]}" 2>&1 | sed -u "s/^/[$name] /" | tee "$build/suites/$name.log"
    return "${PIPESTATUS[0]}"
  fi
  # Every run in one Wine session, as make test has it.
  env "${env[@]}" scripts/wine-session.sh "$build" bash -c '
    name=$1; runs=$2; out=$3; shift 3
    failed=0
    for i in $(seq 1 "$runs"); do
      start=$(date +%s)
      "$@" >"$out/$name-$i.log" 2>&1
      status=$?
      [ "$status" -eq 0 ] || failed=1
      echo "$name run $i: exit $status, $(( $(date +%s) - start )) s"
    done
    exit "$failed"
  ' _ "$name" "$runs" "$build/repeat" "${ctest[@]}"
}

if [ -n "$runs" ]; then
  rm -rf "$build/repeat"
  mkdir -p "$build/repeat"
  logs="$build/repeat"
else
  rm -rf "$build/suites"
  mkdir -p "$build/suites"
  logs="$build/suites"
fi
start=$(date +%s)
pids=()
for name in "${sessions[@]}"; do
  suite "$name" "$@" &
  pids+=($!)
done
if [ -n "$alongside" ]; then
  idle=(chrt --idle 0)
  # Where the scheduling class is refused (a locked-down container), the lowest nice.
  chrt --idle 0 true 2>/dev/null || idle=(nice -n 19)
  "${idle[@]}" bash -c "$alongside" >"$build/alongside.log" 2>&1 &
  alongside_pid=$!
fi

failed=0
summary=""
for i in "${!sessions[@]}"; do
  wait "${pids[$i]}"
  status=$?
  [ "$status" -eq 0 ] || failed=1
  summary+=" ${sessions[$i]} exit $status,"
done
echo "wine-suites:$summary $(($(date +%s) - start)) s side by side"
# ctest's "N/M Test #K: NAME .... Passed 12.34 sec", from every session (and run).
echo "wine-suites: the five slowest entries, of CTest's $limit s limit:"
for log in "$logs"/*.log; do
  sed -n 's/^\(\[[a-z0-9-]*\] \)\{0,1\} *[0-9]*\/[0-9]* Test *#[0-9]*: \([A-Za-z0-9_]*\) \.*[^0-9]*\([0-9.]*\) sec$/\3 \2/p' "$log" |
    sed "s/\$/ $(basename "$log" .log)/"
done | sort -k1,1nr | head -5 | awk -v limit="$limit" '{ printf "  %-42s %-14s %6.1f s  %3.0f%%\n", $2, $3, $1, 100 * $1 / limit }'
if [ -n "$alongside" ]; then
  wait "$alongside_pid"
  status=$?
  [ "$status" -eq 0 ] || failed=1
  echo "== beside the Wine suites: $alongside"
  cat "$build/alongside.log"
  echo "wine-suites: beside them, exit $status, $(($(date +%s) - start)) s from the start"
fi
exit "$failed"
