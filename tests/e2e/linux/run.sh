#!/usr/bin/env bash
# End-to-end run of the Linux program: wait for its one mapped window, focus
# it, Alt+L, Alt+C, read the clipboard, tick "Use commas to separate columns"
# with Tab and Space, Alt+C again, check both copies against `ip -j addr`, and
# stop the program. Prints PASS/FAIL lines and "linux-gui: N passed, N
# failed"; exits non-zero when a check failed.
#
# Usage: run.sh QUORVANE [SCREENSHOT_PNG]
# Needs DISPLAY (the caller's Xvfb); the program talks to whatever session bus
# the caller set. A failure screenshot goes beside SCREENSHOT_PNG.
set -uo pipefail
exe=$1
shot=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
: "${DISPLAY:?run.sh needs an X display}"
source "$here/../x11.sh"

finish() {
  checks_summary linux-gui
  exit $?
}

e2e_begin "$shot" || finish
# The window goes on this display, whatever platform the caller's tests chose.
QT_QPA_PLATFORM=xcb e2e_launch "$exe"

e2e_list_and_copy 30 "$shot" || finish
# Qt's access keys click their button without moving the focus, which stays
# on the table: three Tabs reach the check box.
e2e_tick_and_copy Tab Tab Tab space || finish

ip -j addr >"$e2e_work/ip.json"
e2e_checks "the copies match ip -j addr" \
  /usr/bin/python3 "$here/../table_check.py" linux "$e2e_work/tab.txt" "$e2e_work/comma.txt" "$e2e_work/ip.json"
e2e_check "program still running" kill -0 "$e2e_app_pid"
finish
