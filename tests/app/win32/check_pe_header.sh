#!/usr/bin/env bash
# The shipped program's PE header. It is hardened as far as Windows enforces
# it from the header: ASLR with high entropy and the relocations that let the
# loader move the image, and no execution of data. And the oldest Windows it
# names (subsystem and OS version) is new enough for every function it
# imports, so an older Windows refuses it with its own message rather than a
# missing entry point.
# Usage: check_pe_header.sh QUORVANE_EXE
set -euo pipefail
exe=$1
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
header=$("$objdump" -p "$exe")
status=0

for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
  grep -qw "$flag" <<<"$header" || { echo "FAIL: DllCharacteristics lack $flag"; status=1; }
done
"$objdump" -h "$exe" | grep -q ' \.reloc ' || { echo "FAIL: no .reloc section, so the image cannot move"; status=1; }

# The Windows version, major.minor, that first has each function, from the
# functions' reference pages: the program's imports that need more than
# Vista, and their siblings a change is likely to bring in.
declare -A since=(
  [SetDefaultDllDirectories]=6.2
  [GetDpiForWindow]=10.0
  [GetDpiForSystem]=10.0
  [AdjustWindowRectExForDpi]=10.0
  [GetSystemMetricsForDpi]=10.0
  [SystemParametersInfoForDpi]=10.0
  [SetThreadDpiAwarenessContext]=10.0
  [EnableNonClientDpiScaling]=10.0
)
as_number() { echo $((${1%.*} * 100 + ${1#*.})); }
field() { sed -n "s/^$1[[:space:]]*//p" <<<"$header"; }

subsystem="$(field MajorSubsystemVersion).$(field MinorSubsystemVersion)"
os="$(field MajorOSystemVersion).$(field MinorOSystemVersion)"
[ "$os" = "$subsystem" ] || { echo "FAIL: OS version $os, subsystem version $subsystem"; status=1; }
needed=0.0 needed_by="no function of a later Windows"
# The import tables list each function as "RVA  hint  name".
for function in $(awk '/^The Import Tables/ { on = 1; next } on && /^[A-Z]/ { on = 0 }
                       on && $2 ~ /^[0-9]+$/ { print $3 }' <<<"$header"); do
  version=${since[$function]:-}
  if [ -n "$version" ] && [ "$(as_number "$version")" -gt "$(as_number "$needed")" ]; then
    needed=$version needed_by=$function
  fi
done
if [ "$(as_number "$subsystem")" -lt "$(as_number "$needed")" ]; then
  echo "FAIL: the header says Windows $subsystem, but $needed_by needs $needed"
  status=1
fi
echo "$exe: Windows $subsystem in the header; imports need $needed ($needed_by)"
exit $status
