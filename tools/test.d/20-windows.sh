#!/usr/bin/env bash
# The Windows program under Wine: cross-build preset mingw, run its ctest
# (the core's tests as Windows programs, the WMI source's, the window's, the
# import and size check of quorvane.exe), then the end-to-end run of
# quorvane.exe against the host's adapters (tests/e2e/windows/run.sh). Starts
# its own Xvfb (tools/lib/xvfb.sh) and stops it and every Wine process of its
# prefix at the end, whatever happened. Installs nothing (tools/install-deps
# does).
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)

export WINEPREFIX="${WINEPREFIX:-${XDG_CACHE_HOME:-$HOME/.cache}/quorvane/wineprefix}"
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver64)

source tools/lib/xvfb.sh
finish() {
  "$wineserver" -k >/dev/null 2>&1 || true
  WINEPREFIX="$WINEPREFIX-144dpi" "$wineserver" -k >/dev/null 2>&1 || true
  xvfb_stop
}
trap finish EXIT
trap 'exit 130' INT TERM
xvfb_start 1280x1024x24 || { echo "windows: Xvfb did not start"; echo "windows: FAILED"; exit 1; }

failed=0
echo "-- windows: configure and build (preset mingw)"
cmake --preset mingw >/dev/null || exit 1
cmake --build --preset mingw -j2 || exit 1

echo "-- windows: ctest under Wine on $DISPLAY"
# The first run creates the Wine prefixes (the usual one and the one whose
# screen is at 144 DPI); do it before tests are timed.
timeout 300 tools/wine-run cmd /c exit >/dev/null 2>&1 || true
timeout 300 tools/wine-run-at-dpi 144 cmd /c exit >/dev/null 2>&1 || true
ctest --preset mingw || failed=1

echo "-- windows: end-to-end run of quorvane.exe"
mkdir -p build/mingw/e2e
bash tests/e2e/windows/run.sh build/mingw/src/app/win32/quorvane.exe \
  "${QUORVANE_WINDOWS_SCREENSHOT:-$root/build/mingw/e2e/windows-window.png}" || failed=1

[ "$failed" -eq 0 ] && echo "windows: all passed" || echo "windows: FAILED"
exit "$failed"
