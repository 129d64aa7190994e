#!/usr/bin/env bash
# The shipped program's PE header: ASLR with high entropy (and the .reloc
# section that lets the loader move the image), NX, and the oldest Windows it
# names (subsystem and OS version). A header names only major.minor: 10.0
# makes Windows 8.1 and older refuse the program with their own message, but
# every Windows 10 starts it, and one older than the functions it imports
# reports a missing entry point. So no import may need a newer major.minor
# than the header, nor a newer build than the oldest Windows the documents
# name (docs/windows.md).
# Usage: check_pe_header.sh QUORVANE_EXE
set -euo pipefail
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
header=$("$objdump" -p "$1")
status=0
bad() { echo "FAIL: $*"; status=1; }
# newer A B: version A is later than version B.
newer() { [ "$1" != "$2" ] && [ "$(printf '%s\n' "$1" "$2" | sort -V | tail -n 1)" = "$1" ]; }
for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
  grep -qw "$flag" <<<"$header" || bad "DllCharacteristics lack $flag"
done
"$objdump" -h "$1" | grep -q ' \.reloc ' || bad "no .reloc section"

oldest=10.0.14393  # Windows 10 version 1607
# The first Windows (major.minor.build) that has each function the program
# imports that is newer than Vista, and their likely siblings, as the
# requirements in the Windows API reference give it.
declare -A since=([SetDefaultDllDirectories]=6.2.9200 [GetDpiForWindow]=10.0.14393
  [GetDpiForSystem]=10.0.14393 [AdjustWindowRectExForDpi]=10.0.14393 [GetSystemMetricsForDpi]=10.0.14393
  [SystemParametersInfoForDpi]=10.0.14393 [SetThreadDpiAwarenessContext]=10.0.14393
  [EnableNonClientDpiScaling]=10.0.14393)
field() { sed -n "s/^$1[[:space:]]*//p" <<<"$header"; }
subsystem=$(field MajorSubsystemVersion).$(field MinorSubsystemVersion)
os=$(field MajorOSystemVersion).$(field MinorOSystemVersion)
[ "$os" = "$subsystem" ] || bad "OS version $os, subsystem $subsystem"
newer "$subsystem" "$oldest" && bad "the header's $subsystem refuses Windows $oldest"
# The import tables list each function as "RVA  hint  name".
for function in $(awk '/^The Import Tables/ { on = 1; next } on && /^[A-Z]/ { on = 0 }
                       on && $2 ~ /^[0-9]+$/ { print $3 }' <<<"$header"); do
  # The DPI functions all came with Windows 10; one missing from the table
  # would pass unchecked.
  [[ $function == *Dpi* && -z ${since[$function]:-} ]] && bad "$function is not in the table of the Windows each function needs"
  needs=${since[$function]:-0.0.0}
  newer "${needs%.*}" "$subsystem" && bad "$function needs Windows $needs, the header names $subsystem"
  newer "$needs" "$oldest" && bad "$function needs Windows $needs, newer than the oldest named, $oldest"
done
echo "$1: Windows $subsystem in the header, $oldest the oldest named"
exit $status
