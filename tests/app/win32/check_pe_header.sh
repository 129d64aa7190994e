#!/usr/bin/env bash
# The shipped program's PE header: ASLR with high entropy (and the .reloc
# section that lets the loader move the image), NX, and an oldest Windows
# (subsystem and OS version) new enough for every function it imports, so an
# older Windows refuses it with its own message, not a missing entry point.
# Usage: check_pe_header.sh QUORVANE_EXE
set -euo pipefail
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
header=$("$objdump" -p "$1")
status=0
for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
  grep -qw "$flag" <<<"$header" || { echo "FAIL: DllCharacteristics lack $flag"; status=1; }
done
"$objdump" -h "$1" | grep -q ' \.reloc ' || { echo "FAIL: no .reloc section"; status=1; }

# The Windows version that first has each function (major * 100 + minor), from
# its reference page: the imports that need more than Vista, and their likely
# siblings.
declare -A since=([SetDefaultDllDirectories]=602 [GetDpiForWindow]=1000 [GetDpiForSystem]=1000
  [AdjustWindowRectExForDpi]=1000 [GetSystemMetricsForDpi]=1000 [SystemParametersInfoForDpi]=1000
  [SetThreadDpiAwarenessContext]=1000 [EnableNonClientDpiScaling]=1000)
field() { sed -n "s/^$1[[:space:]]*//p" <<<"$header"; }
shown() { echo "$(($1 / 100)).$(($1 % 100))"; }
subsystem=$(($(field MajorSubsystemVersion) * 100 + $(field MinorSubsystemVersion)))
os=$(($(field MajorOSystemVersion) * 100 + $(field MinorOSystemVersion)))
[ "$os" -eq "$subsystem" ] || { echo "FAIL: OS version $(shown "$os"), subsystem $(shown "$subsystem")"; status=1; }
# The import tables list each function as "RVA  hint  name".
for function in $(awk '/^The Import Tables/ { on = 1; next } on && /^[A-Z]/ { on = 0 }
                       on && $2 ~ /^[0-9]+$/ { print $3 }' <<<"$header"); do
  if [ "${since[$function]:-0}" -gt "$subsystem" ]; then
    echo "FAIL: $function needs Windows $(shown "${since[$function]}"), the header says $(shown "$subsystem")"
    status=1
  fi
done
echo "$1: Windows $(shown "$subsystem") in the header"
exit $status
