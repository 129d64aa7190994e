# Sourced by the test stages that start a GUI program: a D-Bus session bus of
# their own, so nothing reaches the developer's desktop session.
#   session_bus_start  makes an XDG_RUNTIME_DIR of its own, starts dbus-daemon
#                      listening there and exports DBUS_SESSION_BUS_ADDRESS;
#                      returns 1 when it failed.
#   session_bus_stop   stops that bus and every service it started (the
#                      accessibility bus launcher, its bus and registry), then
#                      removes the runtime folder.
# The runtime folder is exported before the daemon starts because the services
# the bus starts inherit its environment: the accessibility bus puts its socket
# there, not in the user's home. The bus listens on a path, not an abstract
# socket, so a program in another network namespace reaches it too.
source "$(dirname "${BASH_SOURCE[0]}")/wait.sh"

SESSION_BUS_PID=""
_session_bus_runtime=""

session_bus_start() {
  local address pid
  _session_bus_runtime=$(mktemp -d)
  chmod 700 "$_session_bus_runtime"
  export XDG_RUNTIME_DIR=$_session_bus_runtime
  { read -r address && read -r pid; } < <(dbus-daemon --session --fork --print-address=1 --print-pid=1 \
    --address="unix:path=$_session_bus_runtime/bus")
  [ -n "${pid:-}" ] || return 1
  SESSION_BUS_PID=$pid
  export DBUS_SESSION_BUS_ADDRESS=$address
}

# The services the bus started, and those they started in turn, one pid a
# line. D-Bus starts a service detached from itself, so they are not the
# daemon's children; each has the address of the bus that started it in
# DBUS_STARTER_ADDRESS, and every such bus listens inside the runtime folder.
_session_bus_services() {
  local environ
  for environ in /proc/[0-9]*/environ; do
    tr '\0' '\n' 2>/dev/null <"$environ" | grep -qF "DBUS_STARTER_ADDRESS=unix:path=$_session_bus_runtime/" &&
      basename "$(dirname "$environ")"
  done
  return 0
}

_session_bus_all_gone() {
  local pid
  for pid in "$@"; do kill -0 "$pid" 2>/dev/null && return 1; done
  return 0
}

session_bus_stop() {
  if [ -n "$SESSION_BUS_PID" ]; then
    local services
    services=$(_session_bus_services)
    # shellcheck disable=SC2086 # one pid a word
    kill "$SESSION_BUS_PID" $services 2>/dev/null
    # shellcheck disable=SC2086
    wait_until 5 _session_bus_all_gone "$SESSION_BUS_PID" $services || kill -KILL "$SESSION_BUS_PID" $services 2>/dev/null
  fi
  [ -n "$_session_bus_runtime" ] && rm -rf "$_session_bus_runtime"
  SESSION_BUS_PID="" _session_bus_runtime=""
  return 0
}
