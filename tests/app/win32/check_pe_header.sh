#!/usr/bin/env bash
# The shipped program's PE header: ASLR with high entropy (and the .reloc
# section that lets the loader move the image), NX, and the oldest Windows it
# names (subsystem and OS version). A header names only major.minor: 10.0
# makes Windows 8.1 and older refuse the program with their own message, but
# every Windows 10 starts it, and one older than the functions it imports
# reports a missing entry point. So no import may need a newer major.minor
# than the header, nor a newer build than the oldest Windows the README names.
# Usage: check_pe_header.sh QUORVANE_EXE
set -euo pipefail
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
header=$("$objdump" -p "$1")
status=0
for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
  grep -qw "$flag" <<<"$header" || { echo "FAIL: DllCharacteristics lack $flag"; status=1; }
done
"$objdump" -h "$1" | grep -q ' \.reloc ' || { echo "FAIL: no .reloc section"; status=1; }

oldest=10.0.14393  # Windows 10 version 1607
# The first Windows (major.minor.build) that has each function the program
# imports that is newer than Vista, and their likely siblings, as the
# requirements in the Windows API reference give it.
declare -A since=([SetDefaultDllDirectories]=6.2.9200 [GetDpiForWindow]=10.0.14393
  [GetDpiForSystem]=10.0.14393 [AdjustWindowRectExForDpi]=10.0.14393 [GetSystemMetricsForDpi]=10.0.14393
  [SystemParametersInfoForDpi]=10.0.14393 [SetThreadDpiAwarenessContext]=10.0.14393
  [EnableNonClientDpiScaling]=10.0.14393)
field() { sed -n "s/^$1[[:space:]]*//p" <<<"$header"; }
# A version as one number that compares as the versions do.
number() {
  local major minor build
  IFS=. read -r major minor build <<<"$1"
  echo $((major * 10000000 + minor * 100000 + ${build:-0}))
}
subsystem=$(field MajorSubsystemVersion).$(field MinorSubsystemVersion)
os=$(field MajorOSystemVersion).$(field MinorOSystemVersion)
[ "$os" = "$subsystem" ] || { echo "FAIL: OS version $os, subsystem $subsystem"; status=1; }
[ "$(number "$subsystem")" -le "$(number "$oldest")" ] || { echo "FAIL: the header's $subsystem refuses Windows $oldest"; status=1; }
# The import tables list each function as "RVA  hint  name".
for function in $(awk '/^The Import Tables/ { on = 1; next } on && /^[A-Z]/ { on = 0 }
                       on && $2 ~ /^[0-9]+$/ { print $3 }' <<<"$header"); do
  # The DPI functions all came with Windows 10; one missing from the table
  # would pass unchecked.
  if [[ $function == *Dpi* && -z ${since[$function]:-} ]]; then
    echo "FAIL: $function is not in the table of the Windows each function needs"; status=1
  fi
  needs=${since[$function]:-0.0.0}
  if [ "$(number "${needs%.*}")" -gt "$(number "$subsystem")" ]; then
    echo "FAIL: $function needs Windows $needs, the header names $subsystem"; status=1
  fi
  if [ "$(number "$needs")" -gt "$(number "$oldest")" ]; then
    echo "FAIL: $function needs Windows $needs, newer than the oldest named, $oldest"; status=1
  fi
done
echo "$1: Windows $subsystem in the header, $oldest the oldest named"
exit $status
