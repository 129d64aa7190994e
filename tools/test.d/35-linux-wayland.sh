#!/usr/bin/env bash
# The Linux program as a native Wayland client: builds it (preset dev),
# starts a headless sway of its own (tools/lib/sway.sh) and a private session
# bus, and drives the program from the keyboard with wtype as
# tests/e2e/linux/run.sh does on X, reading the clipboard with wl-paste and
# checking it against `ip -j addr`, and that Qt loaded its Wayland plugin.
# Leaves a screenshot of the listed table in build/dev/e2e/linux-wayland.png.
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
out=$root/build/dev/e2e

source tools/lib/checks.sh
stage_failed() { checks_abort linux-wayland "$1"; }

for tool in sway wtype wl-paste wl-copy grim swaymsg setpriv dbus-daemon ip; do
  command -v "$tool" >/dev/null || stage_failed "tool $tool is installed"
done

if [ ! -f build/dev/build.ninja ]; then cmake --preset dev >/dev/null || stage_failed "configure dev"; fi
cmake --build --preset dev --target quorvane -j2 >/dev/null || stage_failed "build quorvane"

source tools/lib/sway.sh
source tools/lib/session_bus.sh
cleanup() {
  session_bus_stop
  sway_stop
}
trap cleanup EXIT
trap 'exit 130' INT TERM

unset DISPLAY
sway_start || stage_failed "sway starts"
session_bus_start || stage_failed "session bus starts"

mkdir -p "$out"
bash tests/e2e/linux/run.sh "$root/build/dev/src/app/qt/quorvane" "$out/linux-wayland.png"
