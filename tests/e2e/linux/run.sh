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

work=$(mktemp -d)
e2e_app_log=$work/app.log
[ -n "$shot" ] && e2e_failure_shot=${shot%.png}-failure.png
app_pid=""

program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }

cleanup() {
  e2e_stop_seed
  if [ -n "$app_pid" ] && ! program_ended; then
    kill "$app_pid" 2>/dev/null
    wait_until 10 program_ended || kill -KILL "$app_pid" 2>/dev/null
  fi
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

finish() {
  e2e_summary linux-gui
  exit $?
}

# check_copy MODE FILE: the copied text against the host's interfaces.
check_copy() {
  /usr/bin/python3 "$here/check_clipboard.py" "$1" "$2" "$work/ip.json"
}

printf 'quorvane-e2e-%s' "$$" >"$work/seed.txt"
e2e_check "the clipboard takes the driver's seed text" e2e_seed_clipboard "$(cat "$work/seed.txt")" || finish

# The window goes on this display, whatever platform the caller's tests chose.
QT_QPA_PLATFORM=xcb "$exe" >"$e2e_app_log" 2>&1 &
app_pid=$!

e2e_check "one mapped window titled Quorvane appears" e2e_find_window 30 || finish
e2e_check "the window takes the input focus" e2e_focus 10 || finish

e2e_check "Alt+L and Alt+C are typed" e2e_keys alt+l alt+c || finish
e2e_check "Alt+C puts the table on the clipboard" e2e_wait_copy "$work/seed.txt" "$work/tab.txt" 30 || finish
if [ -n "$shot" ]; then
  e2e_check "screenshot of the listed table in $shot" import -window "$e2e_window" "$shot"
fi

# Qt's access keys click their button without moving the focus, which stays
# on the table: three Tabs reach the check box.
e2e_check "Tab, Tab, Tab, Space and Alt+C are typed" e2e_keys Tab Tab Tab space alt+c || finish
e2e_check "Alt+C with the box ticked copies again" e2e_wait_copy "$work/tab.txt" "$work/comma.txt" 30 || finish

ip -j addr >"$work/ip.json"
e2e_check "tab-separated table matches ip -j addr" check_copy tab "$work/tab.txt"
e2e_check "comma-separated table matches ip -j addr" check_copy comma "$work/comma.txt"
e2e_check "program still running" kill -0 "$app_pid"
finish
