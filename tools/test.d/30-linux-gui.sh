#!/usr/bin/env bash
# End-to-end test of the Linux program: builds it (preset dev), starts a
# private Xvfb (tools/lib/xvfb.sh) and a private session bus, and drives the
# program with tests/e2e/linux/run.sh, which checks the clipboard against
# `ip -j addr`, then walks it as a screen reader does with
# tests/e2e/linux/accessibility.sh. Leaves a screenshot of the listed table in
# build/dev/e2e/linux-window.png.
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
out=$root/build/dev/e2e

source tools/lib/checks.sh
# A failure before the driver runs still ends with the count line.
stage_failed() { checks_abort linux-gui "$1"; }

for tool in Xvfb xdotool xclip xwininfo import dbus-daemon ip; do
  command -v "$tool" >/dev/null || stage_failed "tool $tool is installed"
done

if [ ! -f build/dev/build.ninja ]; then cmake --preset dev >/dev/null || stage_failed "configure dev"; fi
cmake --build --preset dev --target quorvane -j2 >/dev/null || stage_failed "build quorvane"

source tools/lib/xvfb.sh
source tools/lib/session_bus.sh
cleanup() {
  session_bus_stop
  xvfb_stop
}
trap cleanup EXIT
trap 'exit 130' INT TERM

xvfb_start 1024x768x24 || stage_failed "Xvfb starts"

session_bus_start || stage_failed "session bus starts"

mkdir -p "$out"
status=0
bash tests/e2e/linux/run.sh "$root/build/dev/src/app/qt/quorvane" "$out/linux-window.png" || status=1
bash tests/e2e/linux/accessibility.sh "$root/build/dev/src/app/qt/quorvane" || status=1
exit "$status"
