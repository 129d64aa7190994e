#!/usr/bin/env bash
# End-to-end run of the shipped quorvane.exe under Wine: find its window,
# Alt+L, Alt+C, read the clipboard from X, tick the check box with Tab and
# Space, Alt+C again, and check both copies against `ip -j addr`.
#
# Usage: run.sh QUORVANE_EXE [SCREENSHOT_PNG]
# Needs DISPLAY (an Xvfb of the caller's); stops the program and its Wine
# processes before it returns.
set -euo pipefail
exe=$(realpath "$1")
shot=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
work=$(mktemp -d)
: "${DISPLAY:?run.sh needs an X display}"

app_pid=""
cleanup() {
  if [ -n "$app_pid" ] && kill -0 "$app_pid" 2>/dev/null; then kill "$app_pid" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

# Waits until the clipboard no longer holds `$1`, then writes it to `$2`.
wait_clipboard_change() {
  local old=$1 out=$2
  for _ in $(seq 1 100); do
    if xclip -o -selection clipboard >"$out" 2>/dev/null && [ "$(cat "$out")" != "$old" ]; then return 0; fi
    sleep 0.2
  done
  echo "FAIL: the clipboard did not change"; return 1
}

sentinel="quorvane-e2e-$$"
printf '%s' "$sentinel" | xclip -i -selection clipboard

"$root/tools/wine-run" "$exe" >"$work/wine.log" 2>&1 &
app_pid=$!

window=""
for _ in $(seq 1 150); do
  window=$(xdotool search --name '^Quorvane$' 2>/dev/null | head -1 || true)
  [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "FAIL: no window titled Quorvane"; cat "$work/wine.log"; exit 1; }
echo "ok    window found ($window)"
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
sleep 0.5

xdotool key --window "$window" alt+l
xdotool key --window "$window" alt+c
wait_clipboard_change "$sentinel" "$work/tab.txt"
if [ -n "$shot" ]; then import -window "$window" "$shot" && echo "ok    screenshot in $shot"; fi

# Alt+C left the focus on the copy button: Tab reaches the check box.
xdotool key --window "$window" Tab space alt+c
wait_clipboard_change "$(cat "$work/tab.txt")" "$work/comma.txt"

ip -j addr >"$work/ip.json"
status=0
/usr/bin/python3 "$here/check_table.py" "$work/tab.txt" "$work/comma.txt" "$work/ip.json" || status=1

xdotool key --window "$window" alt+F4 || true
for _ in $(seq 1 50); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.2; done
if kill -0 "$app_pid" 2>/dev/null; then echo "FAIL: the window did not close on Alt+F4"; status=1; fi
exit $status
