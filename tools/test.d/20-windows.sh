#!/usr/bin/env bash
# The Windows program under Wine: cross-build preset mingw, run its ctest
# (the core's tests as Windows programs, the WMI source's, the window's, the
# import and size check of quorvane.exe), then the end-to-end run of
# quorvane.exe against the host's adapters. Starts its own Xvfb on a free
# display and stops it and every Wine process of its prefix at the end,
# whatever happened. Installs nothing (tools/install-deps does).
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)

export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/quorvane/wineprefix}"
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)

xvfb_log=$(mktemp)
finish() {
  "$wineserver" -k >/dev/null 2>&1 || true
  WINEPREFIX="$WINEPREFIX-144dpi" "$wineserver" -k >/dev/null 2>&1 || true
  [ -n "${xvfb_pid:-}" ] && { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; }
  rm -f "$xvfb_log"
}
trap finish EXIT
# Xvfb picks a free display itself and writes its number on fd 3, so two
# stages started at once never race for the same number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$xvfb_log" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do [ -s "$xvfb_log" ] && break; sleep 0.1; done
[ -s "$xvfb_log" ] || { echo "windows: Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -n1 "$xvfb_log")"

failed=0
echo "-- windows: configure and build (preset mingw)"
cmake --preset mingw >/dev/null || exit 1
cmake --build --preset mingw -j2 || exit 1

echo "-- windows: ctest under Wine on $DISPLAY"
# The first run creates the Wine prefixes (the usual one and the one whose
# screen is at 144 DPI); do it before tests are timed.
tools/wine-run cmd /c exit >/dev/null 2>&1 || true
tools/wine-run-at-dpi 144 cmd /c exit >/dev/null 2>&1 || true
ctest --preset mingw || failed=1

echo "-- windows: end-to-end run of quorvane.exe"
bash tests/e2e/windows/run.sh build/mingw/src/app/win32/quorvane.exe "${QUORVANE_WINDOWS_SCREENSHOT:-}" || failed=1

[ "$failed" -eq 0 ] && echo "windows: all passed" || echo "windows: FAILED"
exit "$failed"
