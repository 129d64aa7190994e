#!/usr/bin/env bash
# Tests of the helpers the end-to-end drivers stand on (tools/lib/xvfb.sh,
# wait.sh, checks.sh, tests/e2e/x11.sh), on Xvfb servers of their own, with
# xmessage windows standing in for the program's. Ends with
# "e2e-helpers: N passed, N failed".
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../tools/lib/xvfb.sh"
source "$here/x11.sh"

work=$(mktemp -d)
e2e_failure_shot=$work/failure.png
helpers=()
cleanup() {
  e2e_stop_seed
  [ -s "$work/clipboard.pids" ] && helpers+=($(cat "$work/clipboard.pids"))
  [ ${#helpers[@]} -gt 0 ] && kill "${helpers[@]}" 2>/dev/null && wait "${helpers[@]}" 2>/dev/null
  xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT

not() { ! "$@"; }
elapsed_ms() { echo $(((${EPOCHREALTIME//[.,]/} - $1) / 1000)); }

# --- the virtual display
# Two servers started at the same moment, each in its own shell.
for n in 1 2; do
  (xvfb_start 640x480x24 && xdpyinfo >/dev/null && echo "$DISPLAY" >"$work/display$n"
    wait_until 30 test -e "$work/done"; xvfb_stop) &
  helpers+=($!)
done
wait_until 20 test -s "$work/display2" && wait_until 20 test -s "$work/display1"
check "two servers started at once answer on two different displays" \
  test -s "$work/display1" -a -s "$work/display2" -a "$(cat "$work/display1" 2>/dev/null)" != "$(cat "$work/display2" 2>/dev/null)"
touch "$work/done"
wait "${helpers[@]}"
helpers=()
check "xvfb_stop ends the server" bash -c '! DISPLAY=$1 xdpyinfo >/dev/null 2>&1' _ "$(cat "$work/display1")"

# Depth 7 is no depth Xvfb supports: it exits at once.
(unset DISPLAY; xvfb_start 640x480x7 2>/dev/null; echo "status=$? display=${DISPLAY:-} pid=${XVFB_PID:-}") >"$work/bad"
check "a server that does not start is reported, not waited for" grep -qx 'status=1 display= pid=' "$work/bad"

# --- waiting for a condition
start=${EPOCHREALTIME//[.,]/}
(sleep 0.3; touch "$work/appeared") &
check "wait_until returns once the condition holds" wait_until 10 test -e "$work/appeared"
check "... well before its deadline" test "$(elapsed_ms "$start")" -lt 5000
start=${EPOCHREALTIME//[.,]/}
check "wait_until fails when the condition never holds" not wait_until 1 false
check "... but not before its deadline" test "$(elapsed_ms "$start")" -ge 1000

# --- finding and focusing the window
xvfb_start 640x480x24 || { fail "Xvfb for the window tests"; checks_summary e2e-helpers; exit 1; }
show() { xmessage -title "$1" "$1" 2>/dev/null & helpers+=($!); }
show quorvane # mapped, but the title differs in case (Qt's client leader)
show Quorvane # to be unmapped, like Wine's window before it shows
visible_named() { [ "$(xdotool search --onlyvisible --name '^Quorvane$' | wc -l)" -eq "$1" ]; }
wait_until 10 visible_named 2
unmapped=$(xdotool search --onlyvisible --name '^Quorvane$' | while read -r id; do
  [ "$(xdotool getwindowname "$id")" = Quorvane ] && echo "$id"; done)
xdotool windowunmap --sync "$unmapped"
show Quorvane
check "the one mapped window titled exactly Quorvane is found" e2e_find_window 10
check "... and it is neither decoy" test -n "$e2e_window" -a "$e2e_window" != "$unmapped"
focus_found() { e2e_focus 5 && [ "$(xdotool getwindowfocus -f)" = "$e2e_window" ]; }
focus_unmapped() { local e2e_window=$unmapped; e2e_focus 1; }
check "it takes the focus, and the server says so" focus_found
check "focusing an unmapped window fails within its deadline" not focus_unmapped
show Quorvane
wait_until 10 visible_named 3
check "two mapped windows titled Quorvane are no match" not e2e_find_window 1

# --- the clipboard
e2e_seed_clipboard before
printf before >"$work/before.txt"
# Each xclip holds the clipboard until the next one takes it.
copy() { printf "$1" | xclip -quiet -i -selection clipboard 2>/dev/null & echo $! >>"$work/clipboard.pids"; }
(sleep 0.2; copy ''; sleep 0.3; copy 'no table'; sleep 0.3; copy 'NIC\tMAC\r\n1\t00:11:22:33:44:55') &
check "a copy is awaited past an empty clipboard and other text" e2e_wait_copy "$work/before.txt" "$work/copy.txt" 10
check "... and read byte for byte" cmp -s "$work/copy.txt" <(printf 'NIC\tMAC\r\n1\t00:11:22:33:44:55')
check "an unchanged table is no new copy" not e2e_wait_copy "$work/copy.txt" "$work/again.txt" 1

# --- counting: no failure is lost on its way to tools/test's last line
counts=$(checks_passed=0 checks_failed=0
  check_lines lines printf 'PASS one\nFAIL two\ninner: 1 passed, 1 failed\n' >"$work/lines.log"
  check_lines "a crashing checker" bash -c 'exit 3' >>"$work/lines.log"
  echo "$checks_passed/$checks_failed $(checks_count "$work/lines.log")")
check "a checker's PASS and FAIL lines count once, not again in its count line, and a silent crash counts as a failure" \
  test "$counts" = "1/2 0 0"
printf '96%% tests passed, 2 tests failed out of 50\nlinux-gui: 9 passed, 1 failed\n' >"$work/counted.log"
echo "error: the build broke" >"$work/broken.log"
checks_stage_end broken 1 "$work/broken.log" >/dev/null
check "ctest's failures, a driver's, and a stage that broke before counting all count" \
  test "$(checks_count "$work/counted.log" "$work/broken.log")" = "57 4"

checks_summary e2e-helpers
