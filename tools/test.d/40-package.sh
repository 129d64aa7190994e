#!/usr/bin/env bash
# The packages as users get them: tools/package writes the .deb, the zip and
# dist/SHA256SUMS, which verifies them; staged installs hold exactly the
# expected files; the desktop entry, the metainfo and the .deb pass their
# validators; the version agrees everywhere; the Windows icon is its SVG
# drawn at each size; both programs are hardened (hardening-check on the
# Linux one, the PE header of the Windows one, whose oldest Windows fits its
# imports). Then the .deb is installed with apt, its program started as the
# desktop entry says and driven under Xvfb, and the package purged, all in a
# throw-away root (tests/packaging/deb_install_run_purge.sh); the machine's
# own quorvane, installed or not, must be as it was. The zip's program is run
# under Wine the same way (tests/e2e/windows/run.sh).
# Needs root or sudo for the throw-away root. Ends with "package: N passed,
# N failed".
set -uo pipefail
cd "$(dirname "$0")/../.." || exit 1
root=$PWD
tests=$root/tests/packaging
app_id=org.quorvane.Quorvane

source tools/lib/wine.sh
source tools/lib/xvfb.sh
source tools/lib/throwaway_root.sh
source tools/lib/checks.sh
source tools/lib/dist.sh
work=$(mktemp -d)
trap 'wine_stop; xvfb_stop; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

build_packages() { tools/package >"$work/package.log" 2>&1 || { tail -n 30 "$work/package.log"; return 1; }; }
check "tools/package writes $dist_deb and $dist_zip" build_packages && [ -f "$dist_deb" ] && [ -f "$dist_zip" ] || checks_end package
check "dist/SHA256SUMS verifies both packages" \
  bash -c 'cd dist && sha256sum -c SHA256SUMS && [ "$(wc -l <SHA256SUMS)" -eq 2 ]'

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
unzip -q "$dist_zip" -d "$work/zip"
check "the zip holds the program, README.txt and LICENSE in quorvane-$dist_version-win64/" \
  same_files "$work/zip/quorvane-$dist_version-win64" "$tests/windows-files.txt"
windows_readme() {
  local readme=$work/zip/quorvane-$dist_version-win64/README.txt lines crlf
  lines=$(wc -l <"$readme")
  crlf=$(grep -c $'\r$' "$readme")
  echo "$lines lines, $crlf of them ending in CR LF"
  [ "$lines" -le 40 ] && [ "$crlf" -eq "$lines" ] && ! grep -q $'\r[^\n]' "$readme"
}
check "the zip's README.txt has Windows' line ends and at most 40 lines" windows_readme
exe=$work/zip/quorvane-$dist_version-win64/bin/quorvane.exe
check "the zip's program imports only Windows' own DLLs" bash tests/app/win32/check_imports.sh "$exe"
check "the zip's program has ASLR with high entropy, NX and relocations, and its header's Windows fits its imports" \
  bash tests/app/win32/check_pe_header.sh "$exe"

# A program is marked for control-flow protection only when every object
# linked into it is, the C library's start files too, and Debian 12's are
# not: there hardening-check leaves that out, and the program's own objects
# must carry the mark.
dpkg-deb -x "$dist_deb" "$work/deb"
cf_marked() { readelf -n "$1" 2>/dev/null | grep -q 'x86 feature: IBT, SHSTK'; }
objects_cf_marked() {
  local object objects unmarked=()
  # The objects this build makes, not whatever an older layout left there.
  mapfile -t objects < <(ninja -C build/package-linux -t targets all |
    sed -n 's|^\(src/[^:]*\.o\): .*|build/package-linux/\1|p')
  for object in "${objects[@]}"; do cf_marked "$object" || unmarked+=("$object"); done
  echo "${#objects[@]} objects; without the mark: ${unmarked[*]:-none}"
  [ "${#objects[@]}" -gt 0 ] && [ "${#unmarked[@]}" -eq 0 ]
}
hardened="PIE, stack protector, fortify, full RELRO, BIND_NOW"
if cf_marked "$(g++ -print-file-name=Scrt1.o)"; then
  check "hardening-check: the packaged program has $hardened, control-flow protection" \
    hardening-check "$work/deb/usr/bin/quorvane"
else
  check "hardening-check: the packaged program has $hardened" \
    hardening-check --nocfprotection "$work/deb/usr/bin/quorvane"
  check "the Linux program's own objects carry control-flow protection" objects_cf_marked
fi

usr=$stage/linux/usr
check "desktop-file-validate passes" desktop-file-validate "$usr/share/applications/$app_id.desktop"
check "appstreamcli validate --no-net passes" appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml"
lintian_clean() {
  lintian "$dist_deb" >"$work/lintian.txt" 2>&1
  grep '^[EW]: ' "$work/lintian.txt"
  ! grep -q '^E: ' "$work/lintian.txt"
}
check "lintian reports no errors (warnings listed above)" lintian_clean

control_complete() {
  local field
  # Depends comes from the program's shared libraries.
  for field in Section:. Maintainer:. Description:. Depends:libqt6widgets6 Depends:libc6 Recommends:qt6-wayland; do
    [[ $(dpkg-deb -f "$dist_deb" "${field%%:*}") =~ ${field#*:} ]] || { echo "no $field"; return 1; }
  done
}
check "the .deb names its section, maintainer, description, library dependencies and Qt's Wayland plugin" control_complete
check "the copyright file carries the MIT licence" \
  grep -qz 'License: Expat.*Permission is hereby granted' "$usr/share/doc/quorvane/copyright"

one_version() {
  local deb_version release exe_versions changelog
  deb_version=$(dpkg-deb -f "$dist_deb" Version)
  release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$usr/share/metainfo/$app_id.metainfo.xml" | head -n 1)
  exe_versions=$(/usr/bin/python3 "$tests/pe_version.py" "$exe" | sort -u)
  changelog=$(sed -n 's/^## \([0-9][0-9.]*\) .*/\1/p' CHANGELOG.md | head -n 1)
  echo "project $dist_version, .deb $deb_version, metainfo $release, exe $(tr '\n' ' ' <<<"$exe_versions")," \
    "CHANGELOG.md $changelog"
  [ "$deb_version" = "$dist_version" ] && [ "$release" = "$dist_version" ] &&
    [ "$exe_versions" = "$dist_version.0" ] && [ "$changelog" = "$dist_version" ]
}
check "project(VERSION), the .deb, the metainfo's newest release, the exe's VERSIONINFO and CHANGELOG.md's newest entry agree" one_version

# The committed .ico is the SVG drawn at each size it holds (packaging/make-ico).
ico_matches_svg() {
  local ico=src/app/win32/quorvane.ico frame=0 size sizes=""
  for size in $(identify -format '%w ' "$ico"); do
    rsvg-convert -w "$size" -h "$size" -o "$work/drawn.png" packaging/quorvane.svg
    convert "${ico}[$frame]" "$work/frame.png"
    if [ "$(compare -metric AE -fuzz 1% "$work/frame.png" "$work/drawn.png" null: 2>&1)" != 0 ]; then
      echo "the $size px frame differs from the SVG: run packaging/make-ico"
      return 1
    fi
    sizes+="$size "
    frame=$((frame + 1))
  done
  for size in 16 32 48; do [[ " $sizes" == *" $size "* ]] || { echo "no $size px frame"; return 1; }; done
}
check "the Windows icon is the SVG drawn at 16, 32, 48 px and beyond" ico_matches_svg

# The machine's own quorvane, installed or not: dpkg's status and version,
# and each file it owns or the .deb brings, with its checksum. The package is
# only ever installed in a throw-away root, so none of this may change.
dist_deb_paths "$dist_deb" >"$work/deb-paths"
machine_quorvane() {
  local path
  dpkg-query -W -f='${db:Status-Abbrev} ${Version}\n' quorvane 2>&1
  { dpkg-query -L quorvane 2>/dev/null; cat "$work/deb-paths"; } | sort -u | while read -r path; do
    if [ -f "$path" ]; then md5sum "$path"; elif [ -e "$path" ]; then echo "present $path"; else echo "absent $path"; fi
  done
}
machine_quorvane >"$work/machine-before"

xvfb_start 1280x1024x24 || checks_abort package "Xvfb starts"

# The throw-away root sees the machine's / alone: this clone and the X
# server's sockets may live on other file systems.
bound=("$root")
[ -d /tmp/.X11-unix ] && bound+=(/tmp/.X11-unix)
check_lines "the .deb's install, run and purge in a throw-away root ran to its end" \
  throwaway_root_run "${bound[@]}" -- bash "$tests/deb_install_run_purge.sh" "$root/$dist_deb"

machine_quorvane >"$work/machine-after"
check "the machine's own quorvane is as it was ($(head -n 1 "$work/machine-before"))" \
  diff "$work/machine-before" "$work/machine-after"

# The zip: its program under Wine, driven the same way.
wine_make_prefixes
check_lines "tests/e2e/windows/run.sh ran to its end" bash tests/e2e/windows/run.sh "$exe"
checks_end package
