#!/usr/bin/env bash
# Inspects the built LV2 bundle: its Turtle validates against the LV2
# schemas the system installs, the DSP library exports only the descriptor
# and needs nothing beyond the C library (no display, drawing or text
# library: hosts without a display load it), and the UI library, when
# built, exports only its descriptor and holds no copy of the effect.
# Usage: check-bundle.sh BUNDLE [SCHEMA_DIR]
set -euo pipefail
bundle=$1
schemas=${2:-/usr/lib/lv2}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

report=$(sord_validate -l $(find "$schemas" -name '*.ttl') "$bundle"/*.ttl 2>&1) || true
grep -q '^Found 0 errors' <<<"$report" || fail "the Turtle does not validate: $(grep -v '^Found' <<<"$report")"

dsp=$bundle/ulmar_dsp.so
exports=$(nm -D --defined-only "$dsp" | awk '$2 ~ /^[TtWwDdBbRrVvi]$/ {print $3}')
[ "$exports" = lv2_descriptor ] || fail "the DSP library exports: $(echo $exports)"
needed=$(objdump -p "$dsp" | awk '/NEEDED/ {print $2}')
others=$(grep -vE '^(libc\.so\.6|libm\.so\.6|ld-linux-x86-64\.so\.2)$' <<<"$needed" || true)
[ -z "$others" ] || fail "the DSP library needs: $(echo $others)"

ui=$bundle/ulmar_ui.so
if [ -e "$ui" ]; then
  exports=$(nm -D --defined-only "$ui" | awk '$2 ~ /^[TtWwDdBbRrVvi]$/ {print $3}')
  [ "$exports" = lv2ui_descriptor ] || fail "the UI library exports: $(echo $exports)"
  # The UI reaches the DSP's instance through its table: no second effect,
  # engine or processor record of its own.
  copies=$(nm -C "$ui" | grep -E 'ConvolverEffect::|FirEngine::|cpuFeatures\(' | head -3 || true)
  [ -z "$copies" ] || fail "the UI library holds a copy of the effect: $copies"
fi
[ "$failures" -eq 0 ] && echo "Ulmar.lv2 validates; the DSP library needs: $(echo $needed)"
exit "$failures"
