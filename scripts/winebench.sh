#!/usr/bin/env bash
# Runs a command inside the Wine test bench: a private Wine prefix under the build folder,
# a private Xvfb screen, and one wineserver that stays up for the whole command, so that
# each Windows process starts in a fraction of a second.
#   scripts/winebench.sh BUILD_DIR COMMAND...
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
build=$(mkdir -p "$1" && cd "$1" && pwd)
shift
. "$here/wine-loader.sh"
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix-$PV_TEST_ARCH}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
screen=${PV_SCREEN:-800x600x24}

xvfb_pid=
cleanup() {
  "$here/wine-run" wineserver -k >/dev/null 2>&1 || true
  wineserver_bin=$(dirname "$PV_WINE")/wineserver
  "$wineserver_bin" -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${PV_USE_DISPLAY:-}" ]; then
  # A screen of our own: a wineserver started without one leaves later programs no screen.
  for n in $(seq 90 160); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "$screen" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    if kill -0 "$xvfb_pid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
      export DISPLAY=":$n"
      break
    fi
    xvfb_pid=
  done
  [ -n "$xvfb_pid" ] || { echo "winebench: could not start Xvfb" >&2; exit 1; }
fi

wineserver_bin=$(dirname "$PV_WINE")/wineserver
if [ ! -e "$WINEPREFIX/.pv-ready" ]; then
  echo "winebench: creating the Wine prefix $WINEPREFIX ($PV_TEST_ARCH)"
  rm -rf "$WINEPREFIX"
  "$PV_WINE" wineboot -i >/dev/null 2>&1 || true
  # Without a window manager Wine leaves captions to one, and each closing window costs
  # two seconds; unmanaged, Wine draws the captions itself.
  "$PV_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # Wine looks for fonts only in the prefix; without them every dialog changes size.
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  "$wineserver_bin" -w
  touch "$WINEPREFIX/.pv-ready"
fi
"$wineserver_bin" -p
# Start Wine's own services now, with their output elsewhere: started by the first test they
# would inherit the test runner's pipes and keep it waiting after the last test.
"$PV_WINE" wineboot >/dev/null 2>&1 </dev/null || true
"$@"
