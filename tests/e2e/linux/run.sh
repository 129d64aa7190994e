#!/usr/bin/env bash
# End-to-end run of the Linux program: wait for its one window, focus it,
# Alt+L, Alt+C, read the clipboard, tick "Use commas to separate columns"
# with Tab and Space, Alt+C again, check both copies against `ip -j addr`, and
# stop the program. Prints PASS/FAIL lines and "linux-gui: N passed, N
# failed" (linux-wayland: on Wayland); exits non-zero when a check failed.
#
# Usage: run.sh QUORVANE [SCREENSHOT_PNG]
# Needs a display: the caller's Wayland compositor when WAYLAND_DISPLAY is
# set (the program then runs as a native Wayland client, as in a Wayland
# session), else the caller's X server. The program talks to whatever session
# bus the caller set. A failure screenshot goes beside SCREENSHOT_PNG.
set -uo pipefail
exe=$1
shot=${2:-}
here=$(cd "$(dirname "$0")" && pwd)

label=linux-gui
finish() {
  checks_summary "$label"
  exit $?
}
# Qt's platform plugins are libqwayland-*.so and libqxcb.so.
wayland_plugin_loaded() {
  grep -q '/platforms/libqwayland' "/proc/$e2e_app_pid/maps" && ! grep -q /platforms/libqxcb "/proc/$e2e_app_pid/maps"
}

if [ -n "${WAYLAND_DISPLAY:-}" ]; then
  label=linux-wayland
  source "$here/../wayland.sh"
  e2e_begin "$shot" || finish
  # What a Wayland session sets: Qt chooses its platform from it.
  e2e_launch env -u DISPLAY -u QT_QPA_PLATFORM XDG_SESSION_TYPE=wayland "$exe"
else
  : "${DISPLAY:?run.sh needs a display}"
  source "$here/../x11.sh"
  e2e_begin "$shot" || finish
  # The window goes on this display, whatever platform the caller's tests chose.
  QT_QPA_PLATFORM=xcb e2e_launch "$exe"
fi

e2e_list_and_copy 30 "$shot" || finish
[ "$label" = linux-gui ] || e2e_check "Qt's Wayland plugin is the one loaded" wayland_plugin_loaded
# Qt's access keys click their button without moving the focus, which stays
# on the table: three Tabs reach the check box.
e2e_tick_and_copy Tab Tab Tab space || finish

ip -j addr >"$e2e_work/ip.json"
e2e_checks "the copies match ip -j addr" \
  /usr/bin/python3 "$here/../table_check.py" linux "$e2e_work/tab.txt" "$e2e_work/comma.txt" "$e2e_work/ip.json"
e2e_check "program still running" kill -0 "$e2e_app_pid"
finish
