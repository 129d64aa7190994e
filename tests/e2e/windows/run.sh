#!/usr/bin/env bash
# End-to-end run of quorvane.exe under Wine: wait for its one mapped window,
# focus it, Alt+L, Alt+C, read the clipboard from X, tick the check box with
# Tab and Space, Alt+C again, check both copies against `ip -j addr`, and
# close the window with Alt+F4. Prints PASS/FAIL lines and
# "e2e-windows: N passed, N failed"; exits non-zero when a check failed.
#
# Usage: run.sh QUORVANE_EXE [SCREENSHOT_PNG]
# Needs DISPLAY (the caller's Xvfb) and uses the caller's WINEPREFIX. Stops the
# program before it returns; a failure screenshot goes beside SCREENSHOT_PNG.
set -uo pipefail
exe=$(realpath "$1")
shot=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
: "${DISPLAY:?run.sh needs an X display}"
source "$here/../x11.sh"

work=$(mktemp -d)
e2e_app_log=$work/wine.log
[ -n "$shot" ] && e2e_failure_shot=${shot%.png}-failure.png
app_pid=""

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
  e2e_summary e2e-windows
  exit $?
}

program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }

printf 'quorvane-e2e-%s' "$$" >"$work/seed.txt"
e2e_check "the clipboard takes the driver's seed text" e2e_seed_clipboard "$(cat "$work/seed.txt")" || finish

"$root/tools/wine-run" "$exe" >"$e2e_app_log" 2>&1 &
app_pid=$!

# The first start of a Wine prefix can take half a minute.
e2e_check "one mapped window titled Quorvane appears" e2e_find_window 60 || finish
e2e_check "the window takes the input focus" e2e_focus 10 || finish

e2e_check "Alt+L and Alt+C are typed" e2e_keys alt+l alt+c || finish
e2e_check "Alt+C puts the table on the clipboard" e2e_wait_copy "$work/seed.txt" "$work/tab.txt" 30 || finish
if [ -n "$shot" ]; then
  e2e_check "screenshot of the listed table in $shot" import -window "$e2e_window" "$shot"
fi

# Alt+C leaves the focus on the copy button: Tab reaches the check box.
e2e_check "Tab, Space and Alt+C are typed" e2e_keys Tab space alt+c || finish
e2e_check "Alt+C with the box ticked copies again" e2e_wait_copy "$work/tab.txt" "$work/comma.txt" 30 || finish

ip -j addr >"$work/ip.json"
e2e_checks "the copies match ip -j addr" \
  /usr/bin/python3 "$here/check_table.py" "$work/tab.txt" "$work/comma.txt" "$work/ip.json"

e2e_check "Alt+F4 is typed" e2e_keys alt+F4
e2e_check "Alt+F4 closes the program" wait_until 20 program_ended
finish
