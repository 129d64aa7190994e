# Sourced by x11.sh and wayland.sh, which drive a program's window on their
# kind of display: what an end-to-end run does whatever the display. Every
# wait polls a condition against a deadline; the first failed check prints
# what the driver saw (windows, focus, clipboard, the program's last output
# and a screenshot of the whole display).
#
# A driver calls e2e_begin, starts the program with e2e_launch, runs
# e2e_list_and_copy and e2e_tick_and_copy, checks $e2e_work/tab.txt and
# comma.txt, and ends with checks_summary (tools/lib/checks.sh); the program
# is stopped when the driver exits.
#
# The display's file gives: e2e_find_window SECONDS (exactly one window
# titled Quorvane shows; its id in e2e_window), e2e_focus [SECONDS],
# e2e_keys KEY... (xdotool's key names: alt+l, Tab, space), e2e_read_clipboard,
# e2e_hold_clipboard (a command that puts its input on the clipboard and
# holds it until another takes it), e2e_screenshot PNG, e2e_resize
# WIDTHxHEIGHT and e2e_report_display (its windows and focus).
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/lib/wait.sh"
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/lib/checks.sh"

e2e_window=""
e2e_work=""
e2e_app_pid=""
e2e_app_log=/dev/null
e2e_failure_shot="${TMPDIR:-/tmp}/quorvane-e2e-failure-$$.png"
_e2e_reported=""
_e2e_seed_pid=""

# e2e_begin [SCREENSHOT_PNG]: makes the work folder e2e_work, puts a failure
# screenshot beside SCREENSHOT_PNG (else in the temporary folder), arranges
# the clean-up on exit and seeds the clipboard with the text in
# $e2e_work/seed.txt, so that a later change is the program's. Fails when the
# clipboard does not take the seed.
e2e_begin() {
  e2e_work=$(mktemp -d)
  e2e_app_log=$e2e_work/app.log
  [ -n "${1:-}" ] && e2e_failure_shot=${1%.png}-failure.png
  trap _e2e_end EXIT
  trap 'exit 130' INT TERM
  printf 'quorvane-e2e-%s' "$$" >"$e2e_work/seed.txt"
  e2e_check "the clipboard takes the driver's seed text" e2e_seed_clipboard "$(cat "$e2e_work/seed.txt")"
}

# e2e_launch COMMAND...: starts the program in the background, its output in
# e2e_app_log.
e2e_launch() {
  "$@" >"$e2e_app_log" 2>&1 &
  e2e_app_pid=$!
}

e2e_program_ended() {
  ! kill -0 "$e2e_app_pid" 2>/dev/null
}

# Stops what the driver started: the seed's holder and a program still
# running (asked with TERM, then killed after 10 s).
_e2e_end() {
  e2e_stop_seed
  if [ -n "$e2e_app_pid" ] && ! e2e_program_ended; then
    kill "$e2e_app_pid" 2>/dev/null
    wait_until 10 e2e_program_ended || kill -KILL "$e2e_app_pid" 2>/dev/null
  fi
  [ -n "$e2e_work" ] && rm -rf "$e2e_work"
  return 0
}

# e2e_check NAME COMMAND...: one named check; a failure also prints what the
# driver saw.
e2e_check() {
  check "$@" || { e2e_report; return 1; }
}

# e2e_checks NAME COMMAND...: a checker that prints its own PASS and FAIL lines
# (check_lines); a failure also prints what the driver saw.
e2e_checks() {
  check_lines "$@" || { e2e_report; return 1; }
}

_e2e_clipboard_is() {
  [ "$(e2e_read_clipboard)" = "$1" ]
}

# e2e_seed_clipboard TEXT: puts TEXT on the clipboard, held by a holder of
# the driver's own, and waits until it reads back, so a later change is the
# program's.
e2e_seed_clipboard() {
  printf '%s' "$1" | e2e_hold_clipboard >/dev/null 2>&1 &
  _e2e_seed_pid=$!
  wait_until 10 _e2e_clipboard_is "$1"
}

# e2e_stop_seed: ends the holder of the seed text, if nobody took the
# clipboard from it.
e2e_stop_seed() {
  [ -n "$_e2e_seed_pid" ] && kill "$_e2e_seed_pid" 2>/dev/null
  _e2e_seed_pid=""
  return 0
}

_e2e_new_table() {
  e2e_read_clipboard >"$2" && [ "$(head -c 3 "$2")" = NIC ] && ! cmp -s "$1" "$2"
}

# e2e_wait_copy BEFORE_FILE OUT_FILE SECONDS: waits until the clipboard holds
# a table (its text begins with the title "NIC") other than BEFORE_FILE's and
# writes it to OUT_FILE. Requiring the title skips the empty clipboard a copy
# passes through.
e2e_wait_copy() {
  wait_until "$3" _e2e_new_table "$1" "$2"
}

# Prints, once, what the driver sees now.
e2e_report() {
  [ -n "$_e2e_reported" ] && return 0
  _e2e_reported=1
  echo "---- what the end-to-end driver saw"
  e2e_report_display
  echo "clipboard (first 20 lines):"
  e2e_read_clipboard | head -n 20 | sed 's/^/  /'
  echo
  echo "program output (last 20 lines):"
  tail -n 20 "$e2e_app_log" 2>/dev/null | sed 's/^/  /'
  if e2e_screenshot "$e2e_failure_shot" 2>/dev/null; then
    echo "screenshot of the display: $e2e_failure_shot"
  else
    echo "screenshot of the display: none (it failed)"
  fi
  echo "----"
}

# e2e_list_and_copy WINDOW_SECONDS [SCREENSHOT_PNG]: waits for the window,
# makes it QUORVANE_E2E_WINDOW_SIZE pixels (WIDTHxHEIGHT) if that is set,
# focuses it, types Alt+L and Alt+C, and waits for the table on the clipboard
# ($e2e_work/tab.txt); then takes the window's screenshot if asked. Fails at
# the first step that fails.
e2e_list_and_copy() {
  local size=${QUORVANE_E2E_WINDOW_SIZE:-}
  e2e_check "one mapped window titled Quorvane appears" e2e_find_window "$1" &&
    { [ -z "$size" ] || e2e_check "the window is made $size pixels" e2e_resize "$size"; } &&
    e2e_check "the window takes the input focus" e2e_focus 10 &&
    e2e_check "Alt+L and Alt+C are typed" e2e_keys alt+l alt+c &&
    e2e_check "Alt+C puts the table on the clipboard" \
      e2e_wait_copy "$e2e_work/seed.txt" "$e2e_work/tab.txt" 30 || return 1
  [ -z "${2:-}" ] || e2e_check "screenshot of the listed table in $2" e2e_screenshot "$2" "$e2e_window"
}

# e2e_tick_and_copy KEY...: types the keys that tick the check box, then
# Alt+C, and waits for the new copy ($e2e_work/comma.txt).
e2e_tick_and_copy() {
  e2e_check "$* and Alt+C are typed" e2e_keys "$@" alt+c &&
    e2e_check "Alt+C with the box ticked copies again" \
      e2e_wait_copy "$e2e_work/tab.txt" "$e2e_work/comma.txt" 30
}
