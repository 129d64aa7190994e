#!/usr/bin/env bash
# The Windows program under Wine: cross-build preset mingw, run its ctest
# (the core's tests as Windows programs, the WMI source's, the window's, the
# import and size check of quorvane.exe, its PE header's hardening and
# Windows version, and from Wine's relay trace that it limits the DLL search
# before any DLL loads), then the end-to-end run of quorvane.exe against the
# host's adapters (tests/e2e/windows/run.sh). Starts its own Xvfb
# (tools/lib/xvfb.sh) and stops it and every Wine process of its prefixes at
# the end, whatever happened. Installs nothing (tools/install-deps does).
# ctest and the driver count their own tests; a step before them that fails
# ends the stage with "windows: 0 passed, 1 failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$(pwd)

source tools/lib/wine.sh
source tools/lib/xvfb.sh
source tools/lib/checks.sh
finish() {
  wine_stop
  xvfb_stop
}
trap finish EXIT
trap 'exit 130' INT TERM
stage_failed() { checks_abort windows "$1"; }

xvfb_start 1280x1024x24 || stage_failed "Xvfb starts"

failed=0
echo "-- windows: configure and build (preset mingw)"
cmake --preset mingw >/dev/null || stage_failed "preset mingw configures"
cmake --build --preset mingw -j2 || stage_failed "preset mingw builds"

echo "-- windows: ctest under Wine on $DISPLAY"
# The first run creates the Wine prefixes (the usual one and the one whose
# screen is at 144 DPI); do it before tests are timed.
wine_make_prefixes 144
ctest --preset mingw || failed=1

echo "-- windows: end-to-end run of quorvane.exe"
mkdir -p build/mingw/e2e
bash tests/e2e/windows/run.sh build/mingw/src/app/win32/quorvane.exe \
  "${QUORVANE_WINDOWS_SCREENSHOT:-$root/build/mingw/e2e/windows-window.png}" || failed=1
exit "$failed"
