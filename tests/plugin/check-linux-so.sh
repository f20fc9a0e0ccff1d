#!/usr/bin/env bash
# Inspects the Linux plug-in: the dynamic symbol table exports exactly
# VSTPluginMain and main, at one address, and the C++ runtime is linked in
# rather than needed from the host's system.
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
[ "$failures" -eq 0 ] && echo "Ulmar_v1.so exports $(echo $exports), needs: $(echo $needed)"
exit "$failures"
