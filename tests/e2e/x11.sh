# Sourced by the end-to-end drivers (tests/e2e/*/run.sh): driving a program's
# window from outside on an X display that has no window manager. Every wait
# polls a condition against a deadline; the first failed check prints what the
# driver saw (windows, focus, clipboard, the program's last output and a
# screenshot of the whole display).
#
# A driver calls e2e_begin, starts the program with e2e_launch, runs
# e2e_list_and_copy and e2e_tick_and_copy, checks $e2e_work/tab.txt and
# comma.txt, and ends with checks_summary (tools/lib/checks.sh); the program
# is stopped when the driver exits.
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

# Stops what the driver started: the seed's xclip and a program still
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

# The viewable windows titled exactly "Quorvane", one id a line. xdotool
# matches names regardless of case, and the Qt program also owns an unmapped
# window called "quorvane" (its client leader); Wine creates its window before
# it maps it. Focusing an unmapped window fails with an X BadMatch error.
e2e_titled_windows() {
  local id
  for id in $(xdotool search --onlyvisible --name '^Quorvane$' 2>/dev/null); do
    [ "$(xdotool getwindowname "$id" 2>/dev/null)" = Quorvane ] && echo "$id"
  done
  return 0
}

_e2e_one_window() {
  local ids
  ids=$(e2e_titled_windows)
  [ -n "$ids" ] && [ "$(wc -l <<<"$ids")" -eq 1 ] && e2e_window=$ids
}

# e2e_find_window SECONDS: waits until exactly one such window shows and
# keeps its id in e2e_window.
e2e_find_window() {
  wait_until "$1" _e2e_one_window
}

_e2e_focused() {
  [ "$(xdotool getwindowfocus -f 2>/dev/null)" = "$e2e_window" ]
}

_e2e_take_focus() {
  _e2e_focused && return 0
  xdotool windowfocus "$e2e_window" 2>/dev/null
  _e2e_focused
}

# e2e_focus [SECONDS]: gives e2e_window the input focus and waits until the
# server reports it there. No window manager hands out the focus, so the
# driver does; keys typed while it is elsewhere would be lost.
e2e_focus() {
  wait_until "${1:-10}" _e2e_take_focus
}

# e2e_keys KEY...: types the keys, in order, into e2e_window, once the focus
# is known to be there. The keys come through XTEST as a user's would.
e2e_keys() {
  e2e_focus && xdotool key --clearmodifiers "$@"
}

# The clipboard's text; fails when nobody holds it or its owner does not answer.
e2e_read_clipboard() {
  timeout 5 xclip -o -selection clipboard 2>/dev/null
}

_e2e_clipboard_is() {
  [ "$(e2e_read_clipboard)" = "$1" ]
}

# e2e_seed_clipboard TEXT: puts TEXT on the clipboard, held by an xclip of the
# driver's own, and waits until it reads back, so a later change is the
# program's.
e2e_seed_clipboard() {
  printf '%s' "$1" | xclip -quiet -i -selection clipboard >/dev/null 2>&1 &
  _e2e_seed_pid=$!
  wait_until 10 _e2e_clipboard_is "$1"
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

# e2e_stop_seed: ends the xclip holding the seed text, if nobody took the
# clipboard from it.
e2e_stop_seed() {
  [ -n "$_e2e_seed_pid" ] && kill "$_e2e_seed_pid" 2>/dev/null
  _e2e_seed_pid=""
  return 0
}

# Prints, once, what the driver sees now.
e2e_report() {
  [ -n "$_e2e_reported" ] && return 0
  _e2e_reported=1
  local id
  echo "---- what the end-to-end driver saw on $DISPLAY"
  echo "windows named quorvane in any case (id, name, map state, geometry):"
  for id in $(xdotool search --name '^Quorvane$' 2>/dev/null); do
    echo "  $id $(xwininfo -id "$id" 2>/dev/null |
      sed -n -e 's/^xwininfo: Window id: [^ ]* //p' -e 's/^ *Map State: //p' -e 's/^ *-geometry //p' | tr '\n' ' ')"
  done
  echo "window driven: ${e2e_window:-none}; focus on: $(xdotool getwindowfocus -f 2>/dev/null)"
  echo "clipboard (first 20 lines):"
  e2e_read_clipboard | head -n 20 | sed 's/^/  /'
  echo
  echo "program output (last 20 lines):"
  tail -n 20 "$e2e_app_log" 2>/dev/null | sed 's/^/  /'
  if import -window root "$e2e_failure_shot" 2>/dev/null; then
    echo "screenshot of the display: $e2e_failure_shot"
  else
    echo "screenshot of the display: none (import failed)"
  fi
  echo "----"
}

# e2e_list_and_copy WINDOW_SECONDS [SCREENSHOT_PNG]: waits for the window,
# focuses it, types Alt+L and Alt+C, and waits for the table on the clipboard
# ($e2e_work/tab.txt); then takes the window's screenshot if asked. Fails at
# the first step that fails.
e2e_list_and_copy() {
  e2e_check "one mapped window titled Quorvane appears" e2e_find_window "$1" &&
    e2e_check "the window takes the input focus" e2e_focus 10 &&
    e2e_check "Alt+L and Alt+C are typed" e2e_keys alt+l alt+c &&
    e2e_check "Alt+C puts the table on the clipboard" \
      e2e_wait_copy "$e2e_work/seed.txt" "$e2e_work/tab.txt" 30 || return 1
  [ -z "${2:-}" ] || e2e_check "screenshot of the listed table in $2" import -window "$e2e_window" "$2"
}

# e2e_tick_and_copy KEY...: types the keys that tick the check box, then
# Alt+C, and waits for the new copy ($e2e_work/comma.txt).
e2e_tick_and_copy() {
  e2e_check "$* and Alt+C are typed" e2e_keys "$@" alt+c &&
    e2e_check "Alt+C with the box ticked copies again" \
      e2e_wait_copy "$e2e_work/tab.txt" "$e2e_work/comma.txt" 30
}
