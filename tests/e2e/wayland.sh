# Sourced by the Linux driver (tests/e2e/linux/run.sh) on a Wayland display:
# sway's, whose IPC tells the windows and the focus (tools/lib/sway.sh). The
# window, keys, clipboard and screenshots of driver.sh, through swaymsg,
# wtype, wl-clipboard and grim.
source "$(dirname "${BASH_SOURCE[0]}")/driver.sh"

# The windows sway shows, one "ID FOCUSED PID TITLE" a line.
_e2e_views() {
  swaymsg -t get_tree 2>/dev/null | /usr/bin/python3 -c '
import json, sys
def walk(node):
    if node.get("pid"):
        print(node["id"], str(node["focused"]).lower(), node["pid"], node.get("name") or "")
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        walk(child)
walk(json.load(sys.stdin))'
}

_e2e_one_window() {
  local ids
  ids=$(_e2e_views | awk '$4 == "Quorvane" && NF == 4 { print $1 }')
  [ -n "$ids" ] && [ "$(wc -l <<<"$ids")" -eq 1 ] && e2e_window=$ids
}

# e2e_find_window SECONDS: waits until exactly one window titled Quorvane
# shows and keeps sway's id of it in e2e_window.
e2e_find_window() {
  wait_until "$1" _e2e_one_window
}

_e2e_take_focus() {
  _e2e_views | grep -q "^$e2e_window true " && return 0
  swaymsg "[con_id=$e2e_window] focus" >/dev/null 2>&1
  return 1
}

# e2e_focus [SECONDS]: waits until sway gives e2e_window the keyboard focus,
# asking for it meanwhile.
e2e_focus() {
  wait_until "${1:-10}" _e2e_take_focus
}

# e2e_keys KEY...: types the keys, in order, in one wtype. Each wtype is a new
# virtual keyboard, and a client may miss the first keys of a new keyboard
# while it takes in its keymap, so the keys start after a pause.
e2e_keys() {
  local key args=(-s 300)
  for key in "$@"; do
    case $key in
      alt+*) args+=(-M alt -k "${key#alt+}" -m alt) ;;
      *) args+=(-k "$key") ;;
    esac
  done
  e2e_focus && wtype "${args[@]}"
}

# The clipboard's text, as it is; fails when nobody holds it.
e2e_read_clipboard() {
  timeout 5 wl-paste --no-newline 2>/dev/null
}

e2e_hold_clipboard() {
  wl-copy --foreground
}

# sway tiles its windows: a floating one takes the size asked.
e2e_resize() {
  swaymsg "[con_id=$e2e_window] floating enable, resize set ${1%x*} px ${1#*x} px" >/dev/null
}

# e2e_screenshot PNG [WINDOW]: the whole output; the window fills it.
e2e_screenshot() {
  grim "$1"
}

e2e_report_display() {
  echo "windows on $WAYLAND_DISPLAY (sway's id, focused, pid, title):"
  _e2e_views | sed 's/^/  /'
  echo "window driven: ${e2e_window:-none}"
}
