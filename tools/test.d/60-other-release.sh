#!/usr/bin/env bash
# The suite's Linux parts on the other Debian release: Debian 13 on a Debian
# 12 machine, Debian 12 on any other, or the release QUORVANE_OTHER_RELEASE
# names (a Debian code name). A root of that release is made with
# mmdebstrap from Debian's archive and kept in the user's cache folder (made
# anew once it is a week old); each run works in a throw-away overlay of it
# (tools/lib/throwaway_root.sh), so it starts fresh and the cached root never
# changes. There tests/other_release/in_root.sh runs tools/run as a
# stranger's first command, then tools/install-deps, the dev preset's ctest,
# the Linux GUI stages (X and Wayland), the .deb built here and the Windows
# program under that release's Wine. Needs root or sudo. Ends with
# "other-release-root: N passed, N failed" beside the counts of the stages
# run in the root.
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
root=$PWD
source tools/lib/checks.sh
source tools/lib/dist.sh
source tools/lib/throwaway_root.sh
source tools/lib/xvfb.sh
source tools/lib/wait.sh

. /etc/os-release
if [ "${VERSION_CODENAME:-}" = bookworm ]; then release=trixie; else release=bookworm; fi
release=${QUORVANE_OTHER_RELEASE:-$release}
host_version=${VERSION_ID:-0}
cache=${XDG_CACHE_HOME:-$HOME/.cache}/quorvane
pristine=$cache/roots/$release
work=$(mktemp -d)
trap 'xvfb_stop; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

make_root() {
  [ -d "$pristine" ] && [ -z "$(find "$pristine" -maxdepth 0 -mtime +7)" ] && return 0
  rm -rf "$pristine" "$pristine.new"
  mkdir -p "$(dirname "$pristine")"
  mmdebstrap --variant=apt --quiet "$release" "$pristine.new" && mv "$pristine.new" "$pristine"
}
check "a Debian $release root from Debian's archive is at hand in $pristine" make_root ||
  checks_end other-release-root

# What the root gets: this tree as it stands (tracked and new files, no
# build), and the packages built here.
have_packages() { [ -f "$dist_deb" ] && [ -f "$dist_zip" ] || tools/package >"$work/package.log" 2>&1; }
check "the packages built here are at hand" have_packages || { tail -n 30 "$work/package.log"; checks_end other-release-root; }
mkdir "$work/tree"
git ls-files -z --cached --others --exclude-standard | xargs -0 tar -cf - | tar -C "$work/tree" -xf -
unzip -q -j "$dist_zip" '*/bin/quorvane.exe' -d "$work"
# A package is built for its release and those after it.
root_version=$(. "$pristine/etc/os-release" && echo "${VERSION_ID:-0}")
[ "${root_version%%.*}" -ge "${host_version%%.*}" ] && cp "$dist_deb" "$work/quorvane.deb"
# The root's own compiler cache, which only its compiler fills.
export CCACHE_DIR=$cache/ccache-$release
mkdir -p "$CCACHE_DIR"

# tools/run in the root opens its window on this display, where it is seen.
xvfb_start 1280x1024x24 || checks_abort other-release-root "Xvfb starts"
bound=("$work" "$CCACHE_DIR" /tmp/.X11-unix)
{
  throwaway_root_run --root "$pristine" "${bound[@]}" -- bash "$work/tree/tests/other_release/in_root.sh" "$work"
  echo $? >"$work/status"
} 2>&1 | tee "$work/in_root.log" &
inside=$!
window_or_end() { [ -n "$(xdotool search --onlyvisible --name '^Quorvane$' 2>/dev/null)" ] || ! kill -0 "$inside" 2>/dev/null; }
wait_until 1800 window_or_end && kill -0 "$inside" 2>/dev/null && touch "$work/seen"
wait "$inside"
read -r _ failed < <(checks_count "$work/in_root.log")
status=$(cat "$work/status" 2>/dev/null)
[ "$status" = 0 ] || [ "$failed" -gt 0 ] || fail "the suite in the Debian $release root ran to its end"
checks_summary other-release-root && [ "$status" = 0 ]
