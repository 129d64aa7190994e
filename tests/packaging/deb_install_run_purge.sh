#!/usr/bin/env bash
# The .deb as a user meets it, in a throw-away root (tools/lib/throwaway_root.sh),
# never on the machine itself: a quorvane the root already has is purged
# first, so every path the package brings is new; then the .deb is installed
# with apt, its program started as its desktop entry says and driven on the
# caller's X display with a session bus of its own (tests/e2e/linux/run.sh);
# then the package is purged and nothing of it may be left.
# Usage: deb_install_run_purge.sh DEB
# Prints PASS/FAIL lines, the Linux driver's among them, and "deb: N passed,
# N failed", which counts them all.
set -uo pipefail
deb=$1
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tools/lib/checks.sh"
source "$root/tools/lib/session_bus.sh"
source "$root/tools/lib/throwaway_root.sh"
source "$root/tools/lib/dist.sh"
app_id=org.quorvane.Quorvane
work=$(mktemp -d)
trap 'session_bus_stop; rm -rf "$work"' EXIT

# Everything below installs and removes packages: never on a real root.
throwaway_root_inside || checks_abort deb "runs in a throw-away root, not on the machine"

# apt_quietly ARGS...: apt-get, its output shown only when it failed.
apt_quietly() {
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y "$@" >"$work/apt.log" 2>&1 ||
    { cat "$work/apt.log"; return 1; }
}
installed() { dpkg-query -W -f='${Status}' quorvane 2>/dev/null | grep -q 'install ok installed'; }

if installed; then
  check "the quorvane already here is purged first" apt_quietly purge quorvane || checks_end deb
fi
# The paths the package brings: all of them must be gone once it is purged.
dist_deb_paths "$deb" | while read -r path; do [ ! -e "$path" ] && echo "$path"; done >"$work/brought"
check "apt installs $(basename "$deb")" apt_quietly install "$deb" || checks_end deb

exec_resolves() {
  local line
  line=$(sed -n 's/^Exec=//p' "/usr/share/applications/$app_id.desktop")
  program=$(command -v "${line%% *}")
  echo "Exec=$line runs $program"
  [ "$program" = /usr/bin/quorvane ]
}
if check "the desktop entry's Exec runs /usr/bin/quorvane" exec_resolves; then
  session_bus_start || fail "session bus starts"
  check_lines "tests/e2e/linux/run.sh runs to its end" bash "$root/tests/e2e/linux/run.sh" "$program"
  session_bus_stop
fi

check "apt purges quorvane" apt_quietly purge quorvane
nothing_left() {
  local left
  installed && { echo "still installed"; return 1; }
  left=$(while read -r path; do [ -e "$path" ] || [ -L "$path" ] && echo "$path"; done <"$work/brought")
  [ -z "$left" ] || { echo "left behind: $left"; return 1; }
  [ "$(wc -l <"$work/brought")" -gt 10 ]
}
check "nothing of the package is left" nothing_left
checks_end deb
