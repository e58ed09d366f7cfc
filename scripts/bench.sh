#!/usr/bin/env bash
# Prints the benchmark figures: the keystroke library, the timer ticks and the
# plug-in's CPU use over BENCH_SECONDS of armed idle, all under Wine, and the
# DLL's size and imports.
#   scripts/bench.sh BUILD   (after make build)
set -euo pipefail
build=$1
seconds=${BENCH_SECONDS:-60}
win="$build/win32"
win64="$build/win64"

echo "== DLL"
scripts/check-pe.sh "$win/Lullex.fmx"
scripts/check-pe.sh "$win64/Lullex.fmx64"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
printf 'init\ncall Lulx-ActivateRecordLullex 100000\ncall Lulx-ActivateFileMakerLullex 100000\nwait %d\nquit\n' \
  "$((seconds * 1000))" >"$tmp/armed.txt"
printf 'wait %d\nquit\n' "$((seconds * 1000))" >"$tmp/bare.txt"
printf 'init\nwait %d\nquit\n' "$((seconds * 1000))" >"$tmp/unarmed.txt"
# Five digests, one after the other: each takes as long as one check at the login.
{ printf 'init\ncall Lulx_Version\n'; for _ in 1 2 3 4 5; do printf 'call Lulx_PasswordDigest correct horse\n'; done
  printf 'quit\n'; } >"$tmp/digest.txt"
# The seconds from each call's reply to the next digest's, from the host's time stamps.
digest_times() {
  grep -E '\] call Lulx_(Version|PasswordDigest)' | tr -d '[]' |
    awk '{ if (NR > 1) { d = $1 - last; printf "%.2f s  ", d; sum += d } last = $1 }
         END { if (NR > 1) printf "(mean %.2f s per digest)\n", sum / (NR - 1) }'
}
export -f digest_times

scripts/wine-session.sh "$build" bash -c '
  win=$1; tmp=$2; seconds=$3
  echo
  echo "== keystroke library under Wine, compiled as in Lullex.fmx, counting port"
  wine "$win/tests/bench/sendkeys_bench.exe"
  echo
  echo "== timer ticks under Wine"
  wine "$win/tests/bench/tick_bench.exe"
  echo
  echo "== CPU over $seconds s of idle in the host stand-in"
  timeout=$(( (seconds + 30) * 1000 ))
  armedRun=$(wine "$win/host/LullexHost.exe" --timeout "$timeout" --script "$(winepath -w "$tmp/armed.txt")")
  armed=$(grep "process cpu" <<<"$armedRun")
  watching=$(grep "other threads cpu" <<<"$armedRun" | awk "{ print \$(NF-1) }")
  unarmedRun=$(wine "$win/host/LullexHost.exe" --timeout "$timeout" --script "$(winepath -w "$tmp/unarmed.txt")")
  unarmed=$(grep "process cpu" <<<"$unarmedRun")
  unwatched=$(grep "other threads cpu" <<<"$unarmedRun" | awk "{ print \$(NF-1) }")
  bare=$(wine "$win/host/LullexHost.exe" --no-plugin --timeout "$timeout" --script "$(winepath -w "$tmp/bare.txt")" | grep "process cpu")
  echo "with Lullex armed (both limits): ${armed#*] }"
  echo "loaded, no limit set:            ${unarmed#*] }"
  echo "without the plug-in:             ${bare#*] }"
  # Both counts and the watching thread together, as a share of one core.
  cpu() { echo "$1" | awk "{ print \$(NF-4) + \$(NF-1) }"; }
  awk -v a="$(cpu "$armed")" -v b="$(cpu "$bare")" -v w="$watching" -v s="$seconds" \
    "BEGIN { printf \"Lullex armed: %+.2f%% of a core, of which its watching thread %.2f%% (%d ms)\\n\", (a - b) / (s * 10), w / (s * 10), w }"
  awk -v u="$(cpu "$unarmed")" -v b="$(cpu "$bare")" -v w="$unwatched" -v s="$seconds" \
    "BEGIN { printf \"Lullex loaded, no limit: %+.2f%% of a core, other threads %d ms (no watching thread)\\n\", (u - b) / (s * 10), w }"
  echo
  echo "== Lulx_PasswordDigest under Wine (600,000 rounds), Lullex.fmx as the 32-bit FileMaker 18"
  wine "$win/host/LullexHost.exe" --api 60 --script "$(winepath -w "$tmp/digest.txt")" | digest_times
' _ "$win" "$tmp" "$seconds"
LULLEX_WINEARCH=win64 scripts/wine-session.sh "$build" bash -c '
  echo
  echo "== timer ticks under Wine, Lullex.fmx64"
  wine "$1/tests/bench/tick_bench.exe"
  echo
  echo "== Lulx_PasswordDigest under Wine (600,000 rounds), Lullex.fmx64"
  wine "$1/host/LullexHost.exe" --script "$(winepath -w "$2/digest.txt")" | digest_times
' _ "$win64" "$tmp"
