# Sourced by tools/run and the test stages: the one way they start a virtual
# display.
#   xvfb_start [GEOMETRY]  starts Xvfb (default screen 1280x1024x24) on a
#                          display number the server picks itself, waits up to
#                          10 s for it, exports DISPLAY and sets XVFB_PID.
#                          Returns 1, with the server's output on stderr, when
#                          it did not start.
#   xvfb_stop              stops that server and waits for it to end.
# With -displayfd the server binds the first free number and only then writes
# it on the descriptor, so two servers started at once never take the same
# number and DISPLAY is ready to use when it is known.
source "$(dirname "${BASH_SOURCE[0]}")/wait.sh"

XVFB_PID=""
_xvfb_dir=""

xvfb_start() {
  local geometry=${1:-1280x1024x24}
  _xvfb_dir=$(mktemp -d)
  # Made here, not by the background job's redirection, which may come later
  # than the first look at it.
  : >"$_xvfb_dir/display"
  Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp 3>"$_xvfb_dir/display" >"$_xvfb_dir/log" 2>&1 &
  XVFB_PID=$!
  wait_until 10 _xvfb_settled || true
  local number
  number=$(head -n1 "$_xvfb_dir/display" || true)
  if [[ ! $number =~ ^[0-9]+$ ]]; then
    echo "Xvfb did not start:" >&2
    cat "$_xvfb_dir/log" >&2
    xvfb_stop
    return 1
  fi
  export DISPLAY=":$number"
}

# The server wrote its display number, or it has ended.
_xvfb_settled() {
  grep -q '^[0-9]\+$' "$_xvfb_dir/display" || ! kill -0 "$XVFB_PID" 2>/dev/null
}

xvfb_stop() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
  XVFB_PID=""
  if [ -n "$_xvfb_dir" ]; then rm -rf "$_xvfb_dir"; fi
  _xvfb_dir=""
  return 0
}
