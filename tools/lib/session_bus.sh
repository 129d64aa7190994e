# Sourced by the test stages that start a GUI program: a D-Bus session bus of
# their own, so nothing reaches the developer's desktop session.
#   session_bus_start  starts dbus-daemon, exports DBUS_SESSION_BUS_ADDRESS and
#                      an XDG_RUNTIME_DIR of its own; returns 1 when it failed.
#   session_bus_stop   stops that bus and removes the runtime folder.
SESSION_BUS_PID=""
_session_bus_runtime=""

session_bus_start() {
  local address pid
  { read -r address && read -r pid; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1)
  [ -n "${pid:-}" ] || return 1
  SESSION_BUS_PID=$pid
  export DBUS_SESSION_BUS_ADDRESS=$address
  _session_bus_runtime=$(mktemp -d)
  chmod 700 "$_session_bus_runtime"
  export XDG_RUNTIME_DIR=$_session_bus_runtime
}

session_bus_stop() {
  [ -n "$SESSION_BUS_PID" ] && kill "$SESSION_BUS_PID" 2>/dev/null
  [ -n "$_session_bus_runtime" ] && rm -rf "$_session_bus_runtime"
  SESSION_BUS_PID="" _session_bus_runtime=""
  return 0
}
