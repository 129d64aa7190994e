# Sourced by the end-to-end drivers (tests/e2e/*/run.sh) on an X display
# that has no window manager: the window, keys, clipboard and screenshots of
# driver.sh, through xdotool, xclip and ImageMagick's import.
source "$(dirname "${BASH_SOURCE[0]}")/driver.sh"

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

e2e_hold_clipboard() {
  xclip -quiet -i -selection clipboard
}

e2e_resize() {
  xdotool windowsize --sync "$e2e_window" "${1%x*}" "${1#*x}"
}

# e2e_screenshot PNG [WINDOW]: the window, else the whole display.
e2e_screenshot() {
  import -window "${2:-root}" "$1"
}

e2e_report_display() {
  local id
  echo "windows on $DISPLAY named quorvane in any case (id, name, map state, geometry):"
  for id in $(xdotool search --name '^Quorvane$' 2>/dev/null); do
    echo "  $id $(xwininfo -id "$id" 2>/dev/null |
      sed -n -e 's/^xwininfo: Window id: [^ ]* //p' -e 's/^ *Map State: //p' -e 's/^ *-geometry //p' | tr '\n' ' ')"
  done
  echo "window driven: ${e2e_window:-none}; focus on: $(xdotool getwindowfocus -f 2>/dev/null)"
}
