#!/usr/bin/env bash
# The packages are reproducible: two builds of the last commit give the same
# .deb, zip and quorvane.exe byte for byte. The second differs from the
# first in what a builder's machine may: its folder (a fresh clone, on tmpfs
# when /dev/shm is one, a file system that lists a folder's entries in
# another order and gives folders other sizes), the time, the umask, the
# time zone and the locale. The first is dist/ when tools/package built it
# from the last commit and nothing has changed since (tools/test's package
# stage has just done so), else a build in a fresh clone.
# The second build compiles through a ccache that no other build fills, so
# the two objects compared never come from one compile: each was compiled
# in another folder, at another time, under another time zone and locale
# than the other, and an object that the compiler would not give again
# shows as a difference. A second run still compiles only what changed.
# Where two files differ, diffoscope says how. Ends with "reproducible: N
# passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
source tools/lib/checks.sh
source tools/lib/dist.sh

work=$(mktemp -d)
elsewhere=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work" "$elsewhere"' EXIT
trap 'exit 130' INT TERM
second_cache=${XDG_CACHE_HOME:-$HOME/.cache}/quorvane/ccache-second-build

products=("$dist_deb" "$dist_zip" build/package-win64/src/app/win32/quorvane.exe)

# package_in DIR UMASK ENV...: clones the last commit into DIR and runs
# tools/package there under UMASK with ENV added to the environment. ccache
# takes paths as relative to DIR, whatever the caller's shell says, so a
# clone in a new folder still finds what an earlier one compiled.
package_in() {
  local dir=$1 mask=$2
  shift 2
  git clone -q "$PWD" "$dir" &&
    (cd "$dir" && umask "$mask" && env CCACHE_BASEDIR="$dir" "$@" tools/package) >"$dir.log" 2>&1 ||
    { tail -n 30 "$dir.log"; return 1; }
}

# same_bytes FILE: FILE is the same in both builds; diffoscope shows where
# it is not.
same_bytes() {
  cmp -s "$first/$1" "$second/$1" && return 0
  echo "$1 differs between the two builds:"
  diffoscope --text - "$first/$1" "$second/$1" 2>&1 | head -n 150
  return 1
}

first=$work/first second=$elsewhere/second
second_env=(TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 "CCACHE_DIR=$second_cache")
read -r built_commit built_epoch 2>/dev/null <"$dist_source"
if [ "${built_commit:-}" = "$(git rev-parse HEAD)" ] && [ -z "$(git status --porcelain)" ]; then
  first=$PWD
  second_env+=("SOURCE_DATE_EPOCH=$built_epoch")
  echo "the first build: dist/, made by tools/package from $built_commit, nothing changed since"
else
  check "tools/package builds the last commit in $first" package_in "$first" 022 || checks_end reproducible
fi
check "tools/package builds it again in $second (umask 002, TZ=Pacific/Kiritimati, C.UTF-8, a ccache of its own)" \
  package_in "$second" 002 "${second_env[@]}" || checks_end reproducible
for product in "${products[@]}"; do
  check "$(basename "$product") is the same byte for byte" same_bytes "$product"
done
checks_summary reproducible
