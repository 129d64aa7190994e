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
source tools/lib/packages.sh
source tools/lib/throwaway_root.sh
source tools/lib/wait.sh
failed=0  # a stage run here failed
finish() {
  checks_summary other-release && exit "$failed"
  exit 1
}
throwaway_root_inside || { fail "runs in a throw-away root, not on a real one"; finish; }
. /etc/os-release
echo "-- other-release: $PRETTY_NAME"

# A unit enabled before anything is installed, which must stay so.
mkdir -p /etc/systemd/system/multi-user.target.wants
printf '[Service]\nExecStart=/bin/true\n[Install]\nWantedBy=multi-user.target\n' >/etc/systemd/system/quorvane-probe.service
ln -s ../quorvane-probe.service /etc/systemd/system/multi-user.target.wants/quorvane-probe.service
links() { { find /etc/systemd -type l; find /etc/rc?.d -name 'S*'; } 2>/dev/null | sort; }
links >"$work/links-before"
same_links() { links | diff "$work/links-before" -; }

installed() { dpkg-query -W -f='${db:Status-Abbrev} ${Package} ${Installed-Size}\n' | awk '/^ii/ { print $2, $3 }'; }
# tally NAME: what NAME installed since the last tally, and how long it took.
installed >"$work/tallied"
tally() {
  installed | awk -v name="$1" -v seconds=$SECONDS 'NR == FNR { before[$1]; next } !($1 in before) { n++; kib += $2 }
    END { printf "-- other-release: %s installed %d packages, %d MiB in %d s\n", name, n, kib / 1024, seconds }' "$work/tallied" -
  installed >"$work/tallied"
  SECONDS=0
}
# tools/run asks apt for its lists' packages alone, whatever those pull in
# (they are then marked as installed automatically), and nothing it
# installs is a daemon, a DHCP client or Wine.
apt-mark showmanual | sort >"$work/manual-before"
only_the_programs_lists() {
  comm -13 "$work/manual-before" <(apt-mark showmanual | sort) |
    comm -23 - <(package_names tools/packages/{build,linux,display,wayland}.txt) | diff /dev/null -
}
no_daemon_client_or_wine() { installed | cut -d' ' -f1 | sort | comm -12 - <(package_names tools/packages/{test-labs,wine}.txt) | diff /dev/null -; }

echo "-- other-release: tools/run"
SECONDS=0
tools/run >"$work/run.log" 2>&1 &
run_pid=$!
wait_until 1800 eval '[ -e "$work/seen" ] || ! kill -0 $run_pid 2>/dev/null'
kill "$run_pid" 2>/dev/null
wait "$run_pid"
tally tools/run
check "tools/run builds the program and opens its window" test -e "$work/seen" || tail -n 30 "$work/run.log"
check "tools/run asks for its program's packages alone, no test tool" only_the_programs_lists
check "tools/run installs no daemon, DHCP client or Wine" no_daemon_client_or_wine
check "tools/run enables no unit" same_links

echo "-- other-release: tools/install-deps"
quietly() { "$@" >"$work/step.log" 2>&1 || { tail -n 40 "$work/step.log"; return 1; }; }
check "tools/install-deps installs every list" quietly tools/install-deps || finish
tally tools/install-deps
check "tools/install-deps leaves no new unit enabled, and the one enabled before as it was" same_links

echo "-- other-release: preset dev"
check "preset dev builds with -Werror" quietly eval 'cmake --preset dev && cmake --build --preset dev -j2' || finish
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
