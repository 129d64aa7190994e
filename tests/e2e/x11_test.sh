#!/usr/bin/env bash
# Tests of the helpers the end-to-end drivers and the stages stand on
# (tools/lib/xvfb.sh, wait.sh, checks.sh, wine.sh, tests/e2e/x11.sh), on Xvfb
# servers of their own, with xmessage windows standing in for the program's
# and a stand-in for wineserver. Ends with "e2e-helpers: N passed, N failed".
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

# --- counting checks
# Each row: what a run printed (\n between lines), and the passed and failed
# tests tools/test counts from it.
while IFS='|' read -r printed counted; do
  check "counted as $counted: $printed" test "$(checks_count <(printf '%b\n' "$printed"))" = "$counted"
done <<'ROWS'
100% tests passed, 0 tests failed out of 250|250 0
96% tests passed, 2 tests failed out of 50|48 2
e2e-helpers: 12 passed, 0 failed|12 0
e2e-windows: 8 passed, 1 failed\nlinux-gui: 9 passed, 0 failed|17 1
PASS one\nFAIL two\nnot a count: 3 passed, 1 failed|0 0
PASS a line that quotes 100% tests passed, 0 tests failed out of 250|0 0
ROWS
# Each row: a checker that prints its own verdicts, and the counts it adds.
# A failure is counted once, whether or not the checker said so.
while IFS='|' read -r checker counted; do
  counts=$(checks_passed=0 checks_failed=0
    check_lines checker bash -c "$checker" >/dev/null
    echo "$checks_passed $checks_failed")
  check "check_lines counts $counted: $checker" test "$counts" = "$counted"
done <<'ROWS'
printf 'PASS one\nFAIL two\n'|1 1
echo 'PASS one'; exit 3|1 1
echo 'FAIL one'; exit 1|0 1
ROWS
# Each row: a stage's exit status, what it printed, and what it counts in
# the end: a failure the stage did not count is counted once.
while IFS='|' read -r status printed counted; do
  printf '%b\n' "$printed" >"$work/stage.log"
  checks_stage_end stage "$status" "$work/stage.log" >/dev/null
  check "a stage that ended with $status after \"$printed\" counts $counted" \
    test "$(checks_count "$work/stage.log")" = "$counted"
done <<'ROWS'
0|stage: 3 passed, 0 failed|3 0
1|stage: 3 passed, 1 failed|3 1
1|75% tests passed, 1 tests failed out of 4|3 1
1|error: the build broke|0 1
1||0 1
ROWS

# --- stopping Wine
# Each row: a prefix folder beside the project's, and whether wine_stop
# ends its Wine processes and waits for its server (a stand-in records it).
# shellcheck disable=SC2016 # expanded by the stand-in when it runs
printf '#!/bin/sh\necho "${WINEPREFIX##*/} $1" >>"%s"\n' "$work/wineserver.log" >"$work/wineserver"
chmod +x "$work/wineserver"
(
  export WINEPREFIX=$work/prefix
  source "$here/../../tools/lib/wine.sh"
  mkdir -p "$WINEPREFIX" "$WINEPREFIX-144dpi" "$WINEPREFIX-96dpi" "$WINEPREFIX-house"
  wine_server=$work/wineserver
  wine_stop
)
while IFS='|' read -r prefix stopped; do
  check "wine_stop $stopped $prefix" test "$(grep -c "^$prefix -[kw]\$" "$work/wineserver.log")" = \
    "$([ "$stopped" = stops ] && echo 2 || echo 0)"
done <<'ROWS'
prefix|stops
prefix-144dpi|stops
prefix-96dpi|stops
prefix-house|leaves alone
ROWS

checks_summary e2e-helpers
