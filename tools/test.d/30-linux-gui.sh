#!/usr/bin/env bash
# End-to-end test of the Linux program: starts it on a private Xvfb with a
# private session bus, drives it from outside with xdotool (Alt+L, Alt+C, then
# Tab Tab Tab Space to tick "Use commas to separate columns" and Alt+C again),
# reads the clipboard with xclip and checks it against `ip -j addr`.
# Leaves a screenshot of the listed table in build/dev/e2e/linux-window.png.
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
out=$root/build/dev/e2e
exe=$root/build/dev/src/app/qt/quorvane
passed=0
failed=0

pass() { echo "PASS $1"; passed=$((passed + 1)); }
fail() { echo "FAIL $1"; failed=$((failed + 1)); }
finish() {
  echo "linux-gui: $passed passed, $failed failed"
  [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
  exit $?
}

for tool in Xvfb xdotool xclip import dbus-daemon ip; do
  command -v "$tool" >/dev/null || { fail "tool $tool is installed"; finish; }
done

if [ ! -f build/dev/build.ninja ]; then cmake --preset dev >/dev/null || { fail "configure dev"; finish; }; fi
cmake --build --preset dev --target quorvane -j2 >/dev/null || { fail "build quorvane"; finish; }

mkdir -p "$out"
work=$(mktemp -d)
xvfb_pid="" bus_pid="" app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null && wait "$app_pid" 2>/dev/null
  [ -n "$bus_pid" ] && kill "$bus_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display itself and writes its number on fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { fail "Xvfb starts"; finish; }
export DISPLAY=":$(cat "$work/display")"

# A session bus of our own, so nothing reaches the developer's desktop session.
eval "$(dbus-daemon --session --fork --print-address=1 --print-pid=1 | {
  read -r address; read -r pid; echo "export DBUS_SESSION_BUS_ADDRESS='$address'; bus_pid=$pid"; })"
[ -n "$bus_pid" ] || { fail "session bus starts"; finish; }
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM

"$exe" >"$work/app.log" 2>&1 &
app_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Quorvane$' | head -n1)
[ -n "$window" ] && pass "window titled Quorvane appears" || { fail "window titled Quorvane appears"; cat "$work/app.log"; finish; }
# No window manager runs: give the window the input focus directly.
xdotool windowfocus --sync "$window"
sleep 0.3

ip -j addr >"$work/ip.json"
expected_lines=$(( $(/usr/bin/python3 -c 'import json,sys; print(sum(1 for i in json.load(open(sys.argv[1])) if i.get("link_type") != "loopback"))' "$work/ip.json") + 1 ))

line_count() { /usr/bin/python3 -c 'import sys; print(open(sys.argv[1],"rb").read().count(b"\r\n") + 1)' "$1"; }

# Presses the keys given, then Alt+C, until the clipboard holds the header and a row
# for every interface; a key pressed before the window had the focus is lost,
# so it is pressed again.
press_and_copy() {
  local file=$1; shift
  for _ in $(seq 10); do
    [ $# -gt 0 ] && xdotool key --clearmodifiers "$@"
    sleep 0.3
    xdotool key --clearmodifiers alt+c
    sleep 0.3
    timeout 5 xclip -o -selection clipboard >"$file" 2>/dev/null || true
    [ "$(line_count "$file")" -ge "$expected_lines" ] && return 0
  done
  return 1
}

# check NAME COMMAND...: one named check that passes when COMMAND succeeds.
check() {
  local name=$1
  shift
  if "$@"; then pass "$name"; else fail "$name"; fi
}
copied_with_commas() { press_and_copy "$1" && ! grep -q $'\t' "$1"; }

check "Alt+L lists and Alt+C puts the table on the clipboard" press_and_copy "$work/tab.txt" alt+l
check "screenshot after Alt+L" import -window "$window" "$out/linux-window.png"
check "tab-separated table matches ip -j addr" \
  /usr/bin/python3 tests/e2e/linux/check_clipboard.py tab "$work/tab.txt" "$work/ip.json"

# Focus is on the table from the start; the access keys do not move it.
xdotool key --clearmodifiers Tab Tab Tab space
check "ticked box gives commas" copied_with_commas "$work/comma.txt"
check "comma-separated table matches ip -j addr" \
  /usr/bin/python3 tests/e2e/linux/check_clipboard.py comma "$work/comma.txt" "$work/ip.json"

kill -0 "$app_pid" 2>/dev/null && pass "program still running" || fail "program still running"
cp "$work/tab.txt" "$work/comma.txt" "$work/ip.json" "$out/" 2>/dev/null
finish
