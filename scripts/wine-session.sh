#!/usr/bin/env bash
# Runs a command with Wine inside an Xvfb display that this script starts and
# stops. The Wine prefix lives in BUILD/wineprefix (32-bit) or, with
# LULLEX_WINEARCH=win64, in BUILD/wineprefix64, or in LULLEX_WINEPREFIX when it
# is set, and is created on first use.
#   scripts/wine-session.sh BUILD COMMAND...
# With LULLEX_DISPLAY=host the user's own $DISPLAY is used instead of Xvfb.
set -euo pipefail
build=$(realpath "$1"); shift

export WINEARCH=${LULLEX_WINEARCH:-win32}
if [ -n "${LULLEX_WINEPREFIX:-}" ]; then export WINEPREFIX=$(realpath -m "$LULLEX_WINEPREFIX")
elif [ "$WINEARCH" = win64 ]; then export WINEPREFIX="$build/wineprefix64"; else export WINEPREFIX="$build/wineprefix"; fi
export WINEDEBUG=-all
# No debugger: a crash ends the program at once instead of waiting on a dialog.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winedbg.exe=d"

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT INT TERM

# A wineserver started outside this display would be reused and fail every window.
wineserver -k >/dev/null 2>&1 || true

if [ "${LULLEX_DISPLAY:-}" != "host" ]; then
  # The first free display from :91. Sessions may start at the same moment (make
  # test runs both builds side by side): Xvfb takes its display's lock itself and
  # says on -displayfd when it is ready, so a display another session took first
  # shows as this Xvfb ending, and the next number is tried.
  display=""
  ready=$(mktemp)
  for n in $(seq 91 160); do
    [ ! -e "/tmp/.X$n-lock" ] || continue
    : >"$ready"
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -displayfd 3 3>"$ready" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 1 200); do
      { [ -s "$ready" ] || ! kill -0 "$xvfb_pid" 2>/dev/null; } && break
      sleep 0.05
    done
    if [ -s "$ready" ]; then display=$n; break; fi
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    xvfb_pid=""
  done
  rm -f "$ready"
  [ -n "$display" ] || { echo "wine-session: no free X display" >&2; exit 1; }
  export DISPLAY=":$display"
fi

mkdir -p "$build"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-session: creating the Wine prefix in $WINEPREFIX"
  wineboot --init >/dev/null 2>&1
  wineserver -w
  # One virtual desktop for every program: windows then live inside Wine, with no
  # window manager to wait for, and focus and foreground are Wine's own.
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x1024 /f >/dev/null 2>&1
  wineserver -w
fi
# Wine's own fonts (Debian's fonts-wine): Marlett draws the caption buttons,
# Tahoma the dialogs. This Wine does not read them from its data folder, so
# they go into the prefix's Fonts folder.
if [ -d /usr/share/wine/fonts ]; then
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi
# Windows links its dialog fonts to its Chinese, Japanese and Korean fonts, so
# that a dialog shows those characters whatever the user's language; here the
# link goes to Debian's CJK font (fonts-wqy-microhei). Once a prefix.
if [ ! -f "$WINEPREFIX/.cjk-font-link" ]; then
  wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v 'MS Sans Serif' \
    /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f </dev/null >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.cjk-font-link"
fi
wineserver -p
# Start Wine's desktop and services now, detached from our output: started by the
# first test they would inherit its stdout and keep ctest waiting for the pipe.
wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
# The desktop too, for the whole session: started by a test's window it would
# hold that test's output pipe, and it may have ended between two tests.
wine explorer.exe /desktop=Default,1280x1024 </dev/null >/dev/null 2>&1 &
# This prefix's desktop: the other build's session may have its own up already.
desktop_up() {
  local pid
  for pid in $(pgrep -f 'explorer.exe /desktop'); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
  done
  return 1
}
for _ in $(seq 1 100); do desktop_up && break; sleep 0.1; done
sleep 1
"$@"
