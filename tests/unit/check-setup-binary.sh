#!/usr/bin/env bash
# The product's SETUP.EXE: a 32-bit PE GUI program, stripped, at most 256 KB with its
# resources, importing only system DLLs.
set -euo pipefail
exe=$1
[ -f "$exe" ] || { echo "missing: $exe (run make win32)"; exit 1; }
objdump=i686-w64-mingw32-objdump
size=$(stat -c %s "$exe")
echo "size: $size bytes"
[ "$size" -le 262144 ] || { echo "FAIL: larger than 256 KB"; exit 1; }
headers=$($objdump -f -p "$exe")
grep -q 'file format pei-i386' <<<"$headers" || { echo "FAIL: not a PE32 i386 image"; exit 1; }
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers" || { echo "FAIL: not a GUI program"; exit 1; }
if $objdump -h "$exe" | grep -q '\.debug'; then echo "FAIL: not stripped"; exit 1; fi
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|OLE32|SHELL32|MSVCRT)\.DLL$'
status=0
while read -r dll; do
  echo "imports: $dll"
  if ! tr '[:lower:]' '[:upper:]' <<<"$dll" | grep -Eq "$allowed"; then
    echo "FAIL: $dll is not a system DLL"; status=1
  fi
done < <(awk '/DLL Name:/ {print $3}' <<<"$headers")
exit $status
