#!/usr/bin/env bash
# The suite's Linux parts on another Debian release, as a stranger's machine
# meets them: run in a fresh throw-away root of that release
# (tools/test.d/60-other-release.sh makes it), never on a real one.
#   1. tools/run first, on the caller's X display: it must open the window
#      (the caller sees it there and says so with WORK/seen) having
#      installed no test tool, daemon, DHCP client or Wine, and enabled
#      nothing;
#   2. tools/install-deps: every list installs, and no unit is enabled but
#      the one that was before;
#   3. the dev preset builds (-Werror) and its ctest passes, labs included;
#   4. the Linux GUI stages, on X and on Wayland;
#   5. the .deb built on the caller's machine installs, starts as its desktop
#      entry says and purges (tests/packaging/deb_install_run_purge.sh), when
#      the caller's release is the older one: a package is built for its
#      release and the ones after it;
#   6. the Windows program under this release's Wine (tests/e2e/windows/run.sh).
# Usage: in_root.sh WORK, where WORK holds the tree to test (tree/), the
# caller's .deb (quorvane.deb, if any) and quorvane.exe. The counts of the
# stages it runs come out as they print them; its own checks end with
# "other-release: N passed, N failed".
set -uo pipefail
work=$1
# The caller's environment stays outside: only what the suite needs crosses.
[ -n "${_in_root_clean:-}" ] || exec env -i _in_root_clean=1 PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
  LANG=C.UTF-8 TERM="${TERM:-dumb}" DISPLAY="${DISPLAY:-}" CCACHE_DIR="${CCACHE_DIR:-}" \
  QUORVANE_THROWAWAY_ROOT="${QUORVANE_THROWAWAY_ROOT:-}" bash "$0" "$@"
cd "$work/tree" || exit 1
source tools/lib/checks.sh
source tools/lib/throwaway_root.sh
source tools/lib/wait.sh
failed=0
finish() {
  checks_summary other-release || failed=1
  exit "$failed"
}
throwaway_root_inside || { fail "runs in a throw-away root, not on a real one"; finish; }
. /etc/os-release
echo "-- other-release: $PRETTY_NAME"

# A unit enabled before anything is installed, which must stay so.
mkdir -p /etc/systemd/system/multi-user.target.wants
printf '[Service]\nExecStart=/bin/true\n[Install]\nWantedBy=multi-user.target\n' >/etc/systemd/system/quorvane-probe.service
ln -s ../quorvane-probe.service /etc/systemd/system/multi-user.target.wants/quorvane-probe.service
links() { find /etc/systemd -type l | sort; }
links >"$work/links-before"
same_links() { links | diff "$work/links-before" -; }

# tools/run asks apt for its lists' packages alone, whatever those pull in
# (they are then marked as installed automatically), and nothing it
# installs is a daemon, a DHCP client or Wine.
packages() { cat "$@" | sed 's/#.*//' | tr -s ' \t' '\n' | sed '/^$/d' | sort -u; }
apt-mark showmanual | sort >"$work/manual-before"
# How much each command installs, for the record.
package_count() { dpkg-query -W -f='${db:Status-Abbrev}\n' | grep -c '^ii'; }
installed_kib() { dpkg-query -W -f='${db:Status-Abbrev} ${Installed-Size}\n' | awk '/^ii/ { s += $2 } END { print s }'; }
tally() {
  echo "-- other-release: $1 installed $(($(package_count) - $2)) packages, $((($(installed_kib) - $3) / 1024)) MiB" \
    "in $((SECONDS - $4)) s"
}
read -r count_before kib_before < <(echo "$(package_count) $(installed_kib)")
started=$SECONDS
only_the_programs_lists() {
  local asked
  asked=$(comm -13 "$work/manual-before" <(apt-mark showmanual | sort) |
    comm -23 - <(packages tools/packages/{build,linux,display,wayland}.txt))
  [ -z "$asked" ] || { echo "asked for: $asked"; return 1; }
}
no_daemon_client_or_wine() {
  local found
  found=$(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' 2>/dev/null | awk '/^ii/ { print $2 }' | sort |
    comm -12 - <(packages tools/packages/{test-labs,wine}.txt))
  [ -z "$found" ] || { echo "installed: $found"; return 1; }
}

echo "-- other-release: tools/run"
tools/run >"$work/run.log" 2>&1 &
run_pid=$!
run_ended() { ! kill -0 "$run_pid" 2>/dev/null; }
wait_until 1800 eval '[ -e "$work/seen" ] || run_ended'
kill "$run_pid" 2>/dev/null
wait "$run_pid"
tally tools/run "$count_before" "$kib_before" "$started"
read -r count_before kib_before < <(echo "$(package_count) $(installed_kib)")
started=$SECONDS
check "tools/run builds the program and opens its window" test -e "$work/seen" ||
  { tail -n 30 "$work/run.log"; failed=1; }
check "tools/run installs its program's packages and what they need, no test tool" only_the_programs_lists || failed=1
check "tools/run installs no daemon, DHCP client or Wine" no_daemon_client_or_wine || failed=1
check "tools/run enables no unit" same_links || failed=1

echo "-- other-release: tools/install-deps"
quietly() { "$@" >"$work/step.log" 2>&1 || { tail -n 40 "$work/step.log"; return 1; }; }
check "tools/install-deps installs every list" quietly tools/install-deps || { failed=1; finish; }
tally tools/install-deps "$count_before" "$kib_before" "$started"
check "tools/install-deps leaves no new unit enabled, and the one enabled before as it was" same_links || failed=1

echo "-- other-release: preset dev"
check "preset dev builds with -Werror" quietly eval 'cmake --preset dev && cmake --build --preset dev -j2' ||
  { failed=1; finish; }
ctest --preset dev --parallel 2 || failed=1

echo "-- other-release: the Linux GUI stages, on X and on Wayland"
bash tools/test.d/30-linux-gui.sh || failed=1
bash tools/test.d/35-linux-wayland.sh || failed=1

source tools/lib/xvfb.sh
source tools/lib/wine.sh
trap 'wine_stop; xvfb_stop' EXIT
xvfb_start 1280x1024x24 || { fail "Xvfb starts"; finish; }
if [ -f "$work/quorvane.deb" ]; then
  echo "-- other-release: the .deb built on the caller's machine"
  bash tests/packaging/deb_install_run_purge.sh "$work/quorvane.deb" || failed=1
fi
echo "-- other-release: the Windows program under $("$wine_program" --version 2>/dev/null)"
wine_make_prefixes
bash tests/e2e/windows/run.sh "$work/quorvane.exe" || failed=1
finish
