#!/usr/bin/env bash
# The packages as users get them: tools/package writes the .deb and the zip;
# staged installs hold exactly the expected files; the desktop entry, the
# metainfo and the .deb pass their validators; the version agrees everywhere;
# the Windows icon is its SVG drawn at each size. Then the .deb is installed
# with apt, its program started as the desktop entry says and driven under
# Xvfb (tests/e2e/linux/run.sh), the package purged and checked gone; and the
# zip's program is run under Wine the same way (tests/e2e/windows/run.sh).
# Needs root or sudo for apt. Ends with "package: N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
tests=$root/tests/packaging
app_id=org.quorvane.Quorvane

sudo_cmd=""
[ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get -o DPkg::Lock::Timeout=600 -y "$@"; }
package_installed() { dpkg-query -W -f='${Status}' quorvane 2>/dev/null | grep -q 'install ok installed'; }

source tools/lib/wine.sh
source tools/lib/xvfb.sh
source tools/lib/session_bus.sh
source tools/lib/checks.sh
work=$(mktemp -d)
we_installed=""
cleanup() {
  [ -n "$we_installed" ] && package_installed && apt_get purge quorvane >/dev/null 2>&1
  wine_stop
  session_bus_stop
  xvfb_stop
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

finish() {
  checks_summary package
  exit $?
}

# An end-to-end driver counts its own checks in its closing line; here it
# fails only when it ended without saying which check failed.
drive() {
  local out status
  out=$(bash "$@" 2>&1)
  status=$?
  printf '%s\n' "$out"
  [ "$status" -eq 0 ] || grep -q '^FAIL ' <<<"$out" || fail "$1 ran to its end"
}

version=$(sed -n 's/^project(Quorvane VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
deb=dist/quorvane_${version}_amd64.deb
zip=dist/quorvane-${version}-win64.zip

build_packages() { tools/package >"$work/package.log" 2>&1 || { tail -n 30 "$work/package.log"; return 1; }; }
check "tools/package writes $deb and $zip" build_packages && [ -f "$deb" ] && [ -f "$zip" ] || finish

# same_files DIR LIST: the files under DIR are exactly those LIST names.
same_files() {
  (cd "$1" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$work/found"
  grep -v '^#' "$2" | sort >"$work/wanted"
  diff "$work/wanted" "$work/found"
}
stage=$work/stage
DESTDIR=$stage/linux cmake --install build/package-linux >/dev/null
check "the staged Linux install holds exactly the expected files" same_files "$stage/linux/usr" "$tests/linux-files.txt"
DESTDIR=$stage/windows cmake --install build/package-win64 --prefix / >/dev/null
check "the staged Windows install holds exactly the expected files" same_files "$stage/windows" "$tests/windows-files.txt"
unzip -q "$zip" -d "$work/zip"
check "the zip holds the program, README and LICENSE in quorvane-$version-win64/" \
  same_files "$work/zip/quorvane-$version-win64" "$tests/windows-files.txt"
check "the zip's program imports only Windows' own DLLs" \
  bash tests/app/win32/check_imports.sh "$work/zip/quorvane-$version-win64/bin/quorvane.exe"

usr=$stage/linux/usr
check "desktop-file-validate passes" desktop-file-validate "$usr/share/applications/$app_id.desktop"
check "appstreamcli validate --no-net passes" appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml"
lintian_clean() {
  lintian "$deb" >"$work/lintian.txt" 2>&1
  grep '^[EW]: ' "$work/lintian.txt"
  ! grep -q '^E: ' "$work/lintian.txt"
}
check "lintian reports no errors (warnings listed above)" lintian_clean

control_complete() {
  local field
  for field in Section Maintainer Description; do
    [ -n "$(dpkg-deb -f "$deb" "$field")" ] || { echo "no $field"; return 1; }
  done
  # Depends comes from the program's shared libraries.
  dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' && dpkg-deb -f "$deb" Depends | grep -q 'libc6'
}
check "the .deb names its section, maintainer, description and library dependencies" control_complete
check "the copyright file carries the MIT licence" \
  grep -qz 'License: Expat.*Permission is hereby granted' "$usr/share/doc/quorvane/copyright"

one_version() {
  local deb_version release exe_versions
  deb_version=$(dpkg-deb -f "$deb" Version)
  release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$usr/share/metainfo/$app_id.metainfo.xml")
  exe_versions=$(/usr/bin/python3 "$tests/pe_version.py" "$work/zip/quorvane-$version-win64/bin/quorvane.exe" | sort -u)
  echo "project $version, .deb $deb_version, metainfo $release, exe $(tr '\n' ' ' <<<"$exe_versions")"
  [ "$deb_version" = "$version" ] && [ "$release" = "$version" ] && [ "$exe_versions" = "$version.0" ]
}
check "project(VERSION), the .deb, the metainfo release and the exe's VERSIONINFO agree" one_version

# The committed .ico is the SVG drawn at each size it holds (packaging/make-ico).
ico_matches_svg() {
  local ico=src/app/win32/quorvane.ico frame=0 size sizes=""
  for size in $(identify -format '%w ' "$ico"); do
    rsvg-convert -w "$size" -h "$size" -o "$work/drawn.png" packaging/quorvane.svg
    convert "$ico[$frame]" "$work/frame.png"
    if [ "$(compare -metric AE -fuzz 1% "$work/frame.png" "$work/drawn.png" null: 2>&1)" != 0 ]; then
      echo "the $size px frame differs from the SVG: run packaging/make-ico"
      return 1
    fi
    sizes+="$size "
    frame=$((frame + 1))
  done
  for size in 16 32 48; do
    [[ " $sizes" == *" $size "* ]] || { echo "no $size px frame"; return 1; }
  done
}
check "the Windows icon is the SVG drawn at 16, 32, 48 px and beyond" ico_matches_svg

xvfb_start 1280x1024x24 || { fail "Xvfb starts"; finish; }

# The .deb: installed with apt, started as its desktop entry says, purged.
if package_installed; then
  echo "quorvane was installed before the test: purging it first"
  apt_get purge quorvane >/dev/null
fi
# The paths the package brings that did not exist before it came: all of
# them must be gone once it is purged.
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\.||; s|/$||' |
  while read -r path; do [ -n "$path" ] && [ ! -e "$path" ] && echo "$path"; done >"$work/brought"
we_installed=yes
# apt_quietly ARGS...: apt-get, its output shown only when it failed.
apt_quietly() { apt_get "$@" >"$work/apt.log" 2>&1 || { cat "$work/apt.log"; return 1; }; }
check "apt installs $deb" apt_quietly install "./$deb" || finish

program=""
exec_resolves() {
  local line
  line=$(sed -n 's/^Exec=//p' "/usr/share/applications/$app_id.desktop")
  program=$(command -v "${line%% *}")
  echo "Exec=$line runs $program"
  [ "$program" = /usr/bin/quorvane ]
}
if check "the desktop entry's Exec runs /usr/bin/quorvane" exec_resolves; then
  session_bus_start || fail "session bus starts"
  drive tests/e2e/linux/run.sh "$program"
  session_bus_stop
fi

check "apt purges quorvane" apt_quietly purge quorvane
nothing_left() {
  local left
  package_installed && { echo "still installed"; return 1; }
  left=$(while read -r path; do [ -e "$path" ] || [ -L "$path" ] && echo "$path"; done <"$work/brought")
  [ -z "$left" ] || { echo "left behind: $left"; return 1; }
  [ "$(wc -l <"$work/brought")" -gt 10 ]
}
check "nothing of the package is left" nothing_left

# The zip: its program under Wine, driven the same way.
tools/wine-run cmd /c exit >/dev/null 2>&1
drive tests/e2e/windows/run.sh "$work/zip/quorvane-$version-win64/bin/quorvane.exe"
finish
