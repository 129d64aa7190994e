#!/usr/bin/env bash
# The shipped program runs on a bare Windows: it may import only the system's
# own DLLs (no compiler runtime beside it) and stays under 1 MiB.
set -euo pipefail
exe=$1
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
size=$(stat -c %s "$exe")
status=0
if [ "$size" -ge 1048576 ]; then
  echo "FAIL: $exe is $size bytes, 1 MiB or more"; status=1
fi
allowed='^(kernel32|user32|gdi32|comctl32|ole32|oleaut32|advapi32|shell32|shlwapi|uxtheme|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+)\.dll$'
mapfile -t dlls < <("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
if [ ${#dlls[@]} -eq 0 ]; then echo "FAIL: no imports found in $exe"; status=1; fi
for dll in "${dlls[@]}"; do
  if [[ ! "$dll" =~ $allowed ]]; then echo "FAIL: imports $dll"; status=1; fi
done
echo "$exe: $size bytes; imports: ${dlls[*]}"
exit $status
