#!/usr/bin/env bash
# Inspects the 32-bit plug-in DLL: PE32 for i386, exports exactly MAIN (1),
# VSTPluginMain (2) and main (3) with main at VSTPluginMain's address, and
# only the system DLLs the effect and its editor use among its imports: no
# MinGW runtime DLL, and no msimg32.dll (bound at run time).
set -euo pipefail
objdump=$1
dll=$2
dump=$("$objdump" -p "$dll")
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

file "$dll" | grep -q 'PE32 executable (DLL).*Intel 80386' || fail "not a PE32 i386 DLL: $(file "$dll")"
grep -q '^Magic[[:space:]]*010b' <<<"$dump" || fail "optional header magic is not PE32 (010b)"

# The ordinal base, then rows of the name table ("[   0] MAIN": ordinal
# index and name) and of the address table ("[   0] +base[   1] 14c0").
base=$(sed -n -E 's/.*Ordinal Base ([0-9]+).*/\1/p' <<<"$dump" | head -1)
exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{t=1;next} t&&/^[[:space:]]*\[/{print} t&&/^[[:space:]]*$/{t=0}' <<<"$dump" |
  sed -E 's/^[[:space:]]*\[[[:space:]]*([0-9]+)\][[:space:]]+(.*)$/\1 \2/' |
  while read -r index name; do echo "$((index + base)) $name"; done)
expected=$'1 MAIN\n2 VSTPluginMain\n3 main'
[ "$exports" = "$expected" ] || fail "exports are:"$'\n'"$exports"$'\n'"expected:"$'\n'"$expected"

rva() { sed -n -E "s/^[[:space:]]*\[[[:space:]]*[0-9]+\][[:space:]]+\+base\[[[:space:]]*$1\][[:space:]]+([0-9a-f]+).*/\1/p" <<<"$dump"; }
[ -n "$(rva 2)" ] && [ "$(rva 2)" = "$(rva 3)" ] || fail "main ($(rva 3)) is not VSTPluginMain ($(rva 2))"
[ -n "$(rva 1)" ] && [ "$(rva 1)" != "$(rva 2)" ] || fail "MAIN ($(rva 1)) is missing or not a function of its own"
grep -q "DLL Name: Ulmar_v1.dll\|Name.*Ulmar_v1.dll" <<<"$dump" || fail "export directory does not name Ulmar_v1.dll"

imports=$(grep 'DLL Name:' <<<"$dump" | awk '{print $3}')
if grep -i -E 'libgcc|libstdc|libwinpthread|mingw' <<<"$imports"; then
  fail "imports a MinGW runtime DLL"
fi
# AlphaBlend and TransparentBlt are bound at run time, where msimg32.dll exists.
if grep -i -q 'msimg32' <<<"$imports"; then
  fail "imports msimg32.dll"
fi
# The system libraries: the C runtime and kernel, the wave-file reader's
# multimedia I/O, and the editor's windows, drawing, anti-aliased drawing,
# drop target, link and file dialog.
allowed='^(kernel32|msvcrt|winmm|user32|gdi32|gdiplus|ole32|shell32|comdlg32)\.dll$'
while read -r name; do
  [ -z "$name" ] || grep -q -i -E "$allowed" <<<"$name" || fail "imports $name, not one of the system DLLs it needs"
done <<<"$imports"

if [ "$failures" -eq 0 ]; then
  echo "Ulmar_v1.dll (32-bit): PE32 i386, exports MAIN@1 VSTPluginMain@2 main@3, imports: $(echo $imports)"
fi
exit "$failures"
