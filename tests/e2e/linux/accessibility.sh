#!/usr/bin/env bash
# What a screen reader finds in the Linux program through AT-SPI: with Qt's
# bridge on, in a network namespace with two known adapters, atspi_check.py
# walks it before a list, after Alt+L and after Down; the program must still
# run after each. Ends with "linux-screen-reader: N passed, N failed"; skips,
# saying why, without root or a tool. Usage: accessibility.sh QUORVANE, with
# DISPLAY and a session bus on a path (tools/lib): abstract sockets stay
# outside the namespace.
set -uo pipefail
exe=$1
here=$(cd "$(dirname "$0")" && pwd)
skip() { echo "SKIP linux-screen-reader: $1" && exit 0; }
[ "$(id -u)" -eq 0 ] || skip "a network namespace needs root"
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null && [ -x /usr/libexec/at-spi-bus-launcher ] ||
  skip "python3-pyatspi or at-spi2-core is not installed"

ns=quorvane-a11y-$$
ip netns add "$ns" || skip "ip netns add failed"
trap 'ip netns del "$ns"' EXIT
# Addresses of a documentation range, which nothing leaves the namespace for.
ip -n "$ns" link add qva0 address 02:00:00:00:a1:00 type veth peer name qva1 address 02:00:00:00:a1:01 &&
  ip -n "$ns" addr add 198.51.100.1/24 dev qva0 && ip -n "$ns" addr add 198.51.100.2/24 dev qva1 &&
  ip -n "$ns" link set qva0 up && ip -n "$ns" link set qva1 up || skip "veth links cannot be made here"

# A subshell, whose clean-up stops the program before the namespace goes.
(
  source "$here/../x11.sh"
  atspi() { e2e_checks "AT-SPI $1" /usr/bin/python3 "$here/atspi_check.py" "$1" "$e2e_work/ip.json"; }
  running() { e2e_check "the program still runs" kill -0 "$e2e_app_pid"; }
  e2e_begin
  ip -n "$ns" -j addr >"$e2e_work/ip.json"
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb e2e_launch ip netns exec "$ns" "$exe"
  # The window keeps the input focus, and the table the window's, throughout.
  e2e_check "one mapped window titled Quorvane appears" e2e_find_window 30 &&
    e2e_check "the window takes the input focus" e2e_focus 10 && atspi start && running &&
    e2e_check "Alt+L is typed" e2e_keys alt+l && atspi listed && running && atspi current && running
  checks_summary linux-screen-reader
)
