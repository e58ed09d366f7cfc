#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine. Safe to run
# again: when everything is present it only checks and returns.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }

have_cmd i686-w64-mingw32-g++-posix || need+=(g++-mingw-w64-i686)
have_cmd x86_64-w64-mingw32-g++-posix || need+=(g++-mingw-w64-x86-64)
have_cmd cmake || need+=(cmake)
have_cmd make || need+=(make)
have_cmd Xvfb || need+=(xvfb)
have_cmd xauth || need+=(xauth)
have_cmd g++ || need+=(g++)
have_cmd clang++ || need+=(clang)
have_cmd clang-format || need+=(clang-format)
have_pkg wine32:i386 || need+=(wine wine32:i386)
have_pkg wine64 || need+=(wine64)
have_pkg libclang-rt-14-dev || need+=(libclang-rt-14-dev)
[ -f /usr/src/googletest/CMakeLists.txt ] || need+=(googletest)
# The release package: its guide, its archive; and Wine's own fonts, for real caption buttons.
have_pkg python3-markdown || need+=(python3-markdown)
have_cmd zip || need+=(zip)
have_cmd unzip || need+=(unzip)
have_pkg fonts-wine || need+=(fonts-wine)
# Chinese, Japanese and Korean glyphs for the lock in those languages.
have_pkg fonts-wqy-microhei || need+=(fonts-wqy-microhei)
# Signing the release, and the throwaway certificates its test makes.
have_cmd osslsigncode || need+=(osslsigncode)
have_cmd openssl || need+=(openssl)

if [ ${#need[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "bootstrap: missing ${need[*]}; run as root (or install them) first" >&2
  exit 1
fi

echo "bootstrap: installing ${need[*]}"
dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
export DEBIAN_FRONTEND=noninteractive

# A mirror in the middle of a sync serves an index that does not match its
# Release file for a few minutes: wait and ask again before giving up.
log=$(mktemp)
trap 'rm -f "$log"' EXIT
waits=(0 20 60)  # before each try
tries=${#waits[@]}
for try in $(seq 1 "$tries"); do
  wait_s=${waits[$((try - 1))]}
  if [ "$wait_s" -gt 0 ]; then
    echo "bootstrap: apt-get update failed (try $((try - 1)) of $tries); trying again in $wait_s s"
    sleep "$wait_s"
  fi
  # apt-get update exits 0 even when an index failed (it keeps the old one), so
  # its warnings count as a failure too: a fresh machine has no old index.
  if apt-get update -qq >"$log" 2>&1 && ! grep -qE '^(E|W): (Failed to fetch|Some index files failed)' "$log"; then
    updated=1
    break
  fi
  updated=0
done
failed_sources=""
if [ "$updated" -ne 1 ]; then
  failed_sources=$(grep -oE 'Failed to fetch [^ ]+' "$log" | sed 's/^Failed to fetch //; s#/dists/\([^/]*\)/.*# \1#' |
    sort -u | paste -sd, - | sed 's/,/, /g' || true)
  failed_sources=${failed_sources:-the package sources (apt: $(grep -m1 -E '^E: ' "$log" | sed 's/^E: //' || true))}
  # The sources that did answer may hold everything needed: try them before giving up.
  echo "bootstrap: apt-get update failed $tries times on $failed_sources; installing from the sources that answered"
fi

if ! apt-get install -y -qq --no-install-recommends "${need[@]}" >"$log" 2>&1; then
  missing=()
  for p in "${need[@]}"; do have_pkg "$p" || missing+=("$p"); done
  reason=$(grep -m1 -E '^E: ' "$log" | sed 's/^E: //' || true)
  if [ -n "$failed_sources" ]; then
    echo "bootstrap: could not install ${missing[*]:-${need[*]}}: apt-get update failed on $failed_sources (the mirror may be syncing); run make again in a few minutes, or point /etc/apt/sources.list(.d) at another Debian mirror" >&2
  else
    echo "bootstrap: could not install ${missing[*]:-${need[*]}} (apt: ${reason:-no reason given}); run make again later, or point /etc/apt/sources.list(.d) at another Debian mirror" >&2
  fi
  exit 1
fi
