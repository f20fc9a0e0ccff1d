#!/usr/bin/env bash
# A kernel translation unit built for a wider instruction set must define
# nothing but its entry point: an inline or template function it defined
# with external linkage could be the copy the linker keeps for every other
# caller, and run wide instructions on a processor without them.
# Usage: check-kernel-symbols.sh NM OBJECT...
set -euo pipefail
nm=$1
shift
status=0
checked=0
for object in "$@"; do
  case "$object" in
    *FirKernelSse2*) expected=firBatchSse2 ;;
    *FirKernelAvx2*) expected=firBatchAvx2 ;;
    *FirKernelAvx512*) expected=firBatchAvx512 ;;
    *) continue ;;
  esac
  checked=$((checked + 1))
  # Code only: sanitizer builds add a data reference for exception handling.
  defined=$("$nm" -C --defined-only -g "$object" | awk '$2 == "T" || $2 == "W" || $2 == "i" { $1 = ""; $2 = ""; sub(/^  /, ""); print }')
  if [ "$defined" != "$expected(FirBatch const&)" ]; then
    echo "$(basename "$object") defines more than $expected:"
    echo "$defined"
    status=1
  fi
done
if [ "$checked" -ne 3 ]; then
  echo "expected the three kernel objects, found $checked"
  status=1
fi
[ "$status" -eq 0 ] && echo "each kernel object defines only its entry point"
exit "$status"
