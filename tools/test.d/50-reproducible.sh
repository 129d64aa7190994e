#!/usr/bin/env bash
# The packages are reproducible: tools/package, run in two fresh clones of
# the last commit one after the other, gives the same .deb, zip and
# quorvane.exe byte for byte. The second build differs from the first in
# what a builder's machine may: its folder (on tmpfs when /dev/shm is one, a
# file system that lists a folder's entries in another order and gives
# folders other sizes), the time, the umask, the time zone and the locale;
# and it compiles without ccache, so an object from the cache that the
# compiler would not give shows too. Where two files differ, diffoscope says
# how. Ends with "reproducible: N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
source tools/lib/checks.sh
source tools/lib/dist.sh

work=$(mktemp -d)
elsewhere=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work" "$elsewhere"' EXIT
trap 'exit 130' INT TERM

products=("$dist_deb" "$dist_zip" build/package-win64/src/app/win32/quorvane.exe)

# package_in DIR UMASK ENV...: clones the last commit into DIR and runs
# tools/package there under UMASK with ENV added to the environment.
package_in() {
  local dir=$1 mask=$2
  shift 2
  git clone -q "$PWD" "$dir" &&
    (cd "$dir" && umask "$mask" && env "$@" tools/package) >"$dir.log" 2>&1 ||
    { tail -n 30 "$dir.log"; return 1; }
}

# same_bytes FILE: FILE is the same in both clones; diffoscope shows where
# it is not.
same_bytes() {
  cmp -s "$work/first/$1" "$elsewhere/second/$1" && return 0
  echo "$1 differs between the two builds:"
  diffoscope --text - "$work/first/$1" "$elsewhere/second/$1" 2>&1 | head -n 150
  return 1
}

check "tools/package builds the last commit in $work/first" \
  package_in "$work/first" 022 || checks_end reproducible
check "tools/package builds it again in $elsewhere/second (umask 002, TZ=Pacific/Kiritimati, C.UTF-8, no ccache)" \
  package_in "$elsewhere/second" 002 TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 CCACHE_DISABLE=1 ||
  checks_end reproducible
for product in "${products[@]}"; do
  check "$(basename "$product") is the same byte for byte" same_bytes "$product"
done
checks_summary reproducible
