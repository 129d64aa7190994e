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

finish() {
  checks_summary e2e-windows
  exit $?
}

e2e_begin "$shot" || finish
e2e_launch "$root/tools/wine-run" "$exe"

# The first start of a Wine prefix can take half a minute.
e2e_list_and_copy 60 "$shot" || finish
# Alt+C leaves the focus on the copy button: Tab reaches the check box.
e2e_tick_and_copy Tab space || finish

ip -j addr >"$e2e_work/ip.json"
e2e_checks "the copies match ip -j addr" \
  /usr/bin/python3 "$here/../table_check.py" windows "$e2e_work/tab.txt" "$e2e_work/comma.txt" "$e2e_work/ip.json"

e2e_check "Alt+F4 is typed" e2e_keys alt+F4
e2e_check "Alt+F4 closes the program" wait_until 20 e2e_program_ended
finish
