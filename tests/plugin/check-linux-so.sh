#!/usr/bin/env bash
# Inspects the Linux plug-in: the dynamic symbol table exports exactly
# VSTPluginMain and main, at one address, the C++ runtime is linked in
# rather than needed from the host's system, and every library it needs is
# one a Linux desktop has: the C library, X11 and the drawing and text libraries.
set -euo pipefail
so=$1
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

exports=$(nm -D --defined-only "$so" | awk '$2 ~ /^[TtWwDdBbRrVvi]$/ {print $3}' | sort)
[ "$exports" = $'VSTPluginMain\nmain' ] || fail "exports are: $(echo $exports)"
addresses=$(nm -D --defined-only "$so" | awk '$3 == "VSTPluginMain" || $3 == "main" {print $1}' | sort -u | wc -l)
[ "$addresses" -eq 1 ] || fail "main and VSTPluginMain are not one function"
needed=$(objdump -p "$so" | awk '/NEEDED/ {print $2}')
if grep -E 'libstdc\+\+|libgcc_s' <<<"$needed"; then
  fail "needs the C++ runtime from the system"
fi
allowed='^(libc\.so\.6|libm\.so\.6|ld-linux-x86-64\.so\.2|libX11\.so\.6|libcairo\.so\.2|libpango-1\.0\.so\.0|libpangocairo-1\.0\.so\.0|libpangoft2-1\.0\.so\.0|libfontconfig\.so\.1|libgobject-2\.0\.so\.0|libglib-2\.0\.so\.0)$'
others=$(grep -vE "$allowed" <<<"$needed" || true)
[ -z "$others" ] || fail "needs libraries beyond the desktop's: $(echo $others)"
grep -qx 'libX11.so.6' <<<"$needed" || fail "does not link X11 for its editor"
flags1=$(objdump -p "$so" | awk '$1 == "FLAGS_1" {print $2}')
(( ${flags1:-0} & 0x8 )) || fail "can be unloaded (no NODELETE flag), and its text library with it"
[ "$failures" -eq 0 ] && echo "Ulmar_v1.so exports $(echo $exports), needs: $(echo $needed)"
exit "$failures"
