#!/usr/bin/env bash
# What a screen reader finds in the Linux program, through AT-SPI: the
# program runs with Qt's accessibility bridge on, in a network namespace of
# its own with two known adapters, and atspi_check.py walks it before a list,
# after Alt+L and with a row made current, the program still running after
# each. Prints PASS/FAIL lines and "linux-a11y: N passed, N failed"; skips,
# and says why, when not root or a tool is missing.
#
# Usage: accessibility.sh QUORVANE
# Needs DISPLAY and a session bus listening on a path (tools/lib/xvfb.sh,
# tools/lib/session_bus.sh): both reach into the namespace, abstract sockets
# would not.
set -uo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
: "${DISPLAY:?accessibility.sh needs an X display}" "${DBUS_SESSION_BUS_ADDRESS:?and a session bus}"

skip() {
  echo "SKIP linux-a11y: $1"
  exit 0
}
[ "$(id -u)" -eq 0 ] || skip "a network namespace needs root"
[ -x /usr/libexec/at-spi-bus-launcher ] || skip "at-spi2-core is not installed"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"

ns=quorvane-a11y-$$
ip netns add "$ns" || skip "ip netns add failed"
trap 'ip netns del "$ns"' EXIT
# Two ends of a veth pair, with addresses of a documentation range that no
# packet leaves the namespace for.
ip -n "$ns" link add qva0 address 02:00:00:00:a1:00 type veth peer name qva1 address 02:00:00:00:a1:01 &&
  ip -n "$ns" addr add 198.51.100.1/24 dev qva0 && ip -n "$ns" addr add 198.51.100.2/24 dev qva1 &&
  ip -n "$ns" link set qva0 up && ip -n "$ns" link set qva1 up || skip "veth links cannot be made here"

# In a subshell, so the driver's clean-up stops the program before the
# namespace goes.
(
  source "$here/../x11.sh"
  atspi() { /usr/bin/python3 "$here/atspi_check.py" "$1" "$e2e_work/ip.json"; }
  running() { e2e_check "the program still runs $1" kill -0 "$e2e_app_pid"; }

  e2e_begin
  ip -n "$ns" -j addr >"$e2e_work/ip.json"
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb e2e_launch ip netns exec "$ns" "$exe"
  # The window has the input focus, and the table the window's, throughout.
  e2e_check "one mapped window titled Quorvane appears" e2e_find_window 30 &&
    e2e_check "the window takes the input focus" e2e_focus 10 &&
    e2e_checks "AT-SPI before a list" atspi start && running "before a list" &&
    e2e_check "Alt+L is typed" e2e_keys alt+l &&
    e2e_checks "AT-SPI after a list" atspi listed && running "after a list" &&
    e2e_checks "AT-SPI with a current row" atspi current && running "with a current row"
  e2e_summary linux-a11y
)
