#!/usr/bin/env bash
# The packages are reproducible: two builds of the last commit give the same
# .deb, zip and quorvane.exe byte for byte. The second differs from the
# first in what a builder's machine may: its folder (a fresh clone, on tmpfs
# when /dev/shm is one: another order of entries, other folder sizes), the
# time, the umask, the time zone, the locale, and no ccache (an object the
# cache gives that the compiler would not, or a path ccache makes relative,
# shows). The first is dist/ when tools/package built it from the last commit
# and nothing changed since, else a build in a fresh clone. Where two files
# differ, diffoscope says how. Ends with "reproducible: N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
source tools/lib/checks.sh
source tools/lib/dist.sh

work=$(mktemp -d)
elsewhere=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$work" "$elsewhere"' EXIT
trap 'exit 130' INT TERM

products=("$dist_deb" "$dist_zip" build/package-win64/src/app/win32/quorvane.exe)

# package_in DIR UMASK ENV...: tools/package with ENV in a clone of the last
# commit made under UMASK, so its files have that umask's modes (tools/package
# itself builds under 022).
package_in() {
  local dir=$1 mask=$2
  shift 2
  (umask "$mask" && git clone -q "$PWD" "$dir") &&
    (cd "$dir" && env "$@" tools/package) >"$dir.log" 2>&1 ||
    { tail -n 30 "$dir.log"; return 1; }
}

same_bytes() {
  cmp -s "$first/$1" "$second/$1" && return 0
  echo "$1 differs between the two builds:"
  diffoscope --text - "$first/$1" "$second/$1" 2>&1 | head -n 150
  return 1
}

first=$work/first second=$elsewhere/second
second_env=(TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 CCACHE_DISABLE=1)
read -r built_commit built_epoch 2>/dev/null <"$dist_source"
# A file of dist/ since removed or rebuilt by hand is no first build of this commit.
if [ "${built_commit:-}" = "$(git rev-parse HEAD)" ] && [ -z "$(git status --porcelain)" ] &&
  (cd dist && sha256sum --quiet -c SHA256SUMS) >/dev/null 2>&1 && [ -f "${products[2]}" ]; then
  first=$PWD
  second_env+=("SOURCE_DATE_EPOCH=$built_epoch")
  echo "the first build: dist/, made by tools/package from $built_commit, nothing changed since"
else
  check "tools/package builds the last commit in $first" package_in "$first" 022 || checks_end reproducible
fi
check "tools/package builds it again in $second (cloned under umask 002, TZ=Pacific/Kiritimati, C.UTF-8, no ccache)" \
  package_in "$second" 002 "${second_env[@]}" || checks_end reproducible
for product in "${products[@]}"; do
  check "$(basename "$product") is the same byte for byte" same_bytes "$product"
done
checks_summary reproducible
