#!/usr/bin/env bash
# Prints the benchmark figures: the keystroke library, the timer ticks, the
# plug-in's CPU use over BENCH_SECONDS of armed idle and the wake-ups it adds
# to FileMaker's process over BENCH_WAKE_SECONDS, all under Wine, and the
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
# Armed and idle, FileMaker in front and behind another program, against the
# same host loaded but unarmed: the run lasts the measured window and a margin.
wake=${BENCH_WAKE_SECONDS:-20}
for arming in armed unarmed; do
  for place in front behind; do
    { printf 'init\n'
      [ "$arming" = armed ] && printf 'call Lulx-ActivateRecordLullex 100000\ncall Lulx-ActivateFileMakerLullex 100000\n'
      [ "$place" = behind ] && printf 'activate other\n'
      printf 'wait %d\nquit\n' "$(((wake + 6) * 1000))"; } >"$tmp/$arming-$place.txt"
  done
done
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
  win=$1; tmp=$2; seconds=$3; wake=$4
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
  echo "== wake-ups of FileMaker'"'"'s process over $wake s of idle"
  echo "(context switches from /proc: under Wine every call to its server is one, so a"
  echo " wake-up of FileMaker'"'"'s thread costs dozens; its wake-ups for Lullex are the timer"
  echo " messages to Lullex'"'"'s windows, and Lullex'"'"'s own threads are the other threads)"
  # The main thread'"'"'s switches, and the other threads'"'"' together.
  switches() {
    for task in /proc/"$1"/task/*; do
      awk -v main=$(( ${task##*/} == $1 )) "/ctxt_switches/ { s += \$2 } END { print main, s + 0 }" "$task/status"
    done 2>/dev/null | awk "{ if (\$1) m += \$2; else o += \$2 } END { print m + 0, o + 0 }"
  }
  for place in front behind; do
    for arming in armed unarmed; do
      wine "$win/host/LullexHost.exe" --timeout 120000 --script "$(winepath -w "$tmp/$arming-$place.txt")" >"$tmp/run.txt" &
      sleep 4  # the init, and the other program in front
      pid=$(pgrep -n -f "LullexHost.exe --timeout")
      read -r mainFirst otherFirst < <(switches "$pid"); sleep "$wake"; read -r mainLast otherLast < <(switches "$pid")
      wait
      timers=$(grep -o "timer messages to the plug-in.s windows: [0-9]*" "$tmp/run.txt" | awk "{ print \$NF }")
      awk -v m=$((mainLast - mainFirst)) -v o=$((otherLast - otherFirst)) -v t="$timers" -v s="$wake" \
        -v what="$arming, FileMaker $place" \
        "BEGIN { printf \"%-26s %5.1f timer messages/s to Lullex, switches/s: main thread %7.1f, other threads %5.1f\n\",
                 what, t / (s + 6), m / s, o / s }" | tee -a "$tmp/wakeups.txt"
    done
  done
  awk "/^armed/ { t[\$3] = \$4; m[\$3] = \$12; o[\$3] = \$15 } /^unarmed/ { um[\$3] = \$12; uo[\$3] = \$15 }
       END { for (p in t) printf \"Lullex armed, FileMaker %s: %.1f timer messages/s, main thread %+.1f switches/s, its other threads %+.1f\n\",
               p, t[p], m[p] - um[p], o[p] - uo[p] }" "$tmp/wakeups.txt"
  echo
  echo "== Lulx_PasswordDigest under Wine (600,000 rounds), Lullex.fmx as the 32-bit FileMaker 18"
  wine "$win/host/LullexHost.exe" --api 60 --script "$(winepath -w "$tmp/digest.txt")" | digest_times
' _ "$win" "$tmp" "$seconds" "$wake"
LULLEX_WINEARCH=win64 scripts/wine-session.sh "$build" bash -c '
  echo
  echo "== timer ticks under Wine, Lullex.fmx64"
  wine "$1/tests/bench/tick_bench.exe"
  echo
  echo "== Lulx_PasswordDigest under Wine (600,000 rounds), Lullex.fmx64"
  wine "$1/host/LullexHost.exe" --script "$(winepath -w "$2/digest.txt")" | digest_times
' _ "$win64" "$tmp"
