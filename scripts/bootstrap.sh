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
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
