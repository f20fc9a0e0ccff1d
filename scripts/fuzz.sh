#!/usr/bin/env bash
# Replays every fuzz target's committed seeds, then fuzzes each for a
# bounded time, under AddressSanitizer and UndefinedBehaviorSanitizer.
#   scripts/fuzz.sh BUILD_DIR SECONDS_PER_TARGET [TARGET...]
# Configures BUILD_DIR with clang and the fuzzers on (when it is not yet
# configured) and builds the targets. The seeds live in tests/fuzz/seeds/
# (written by scripts/make-fuzz-seeds.py); what fuzzing adds goes to
# BUILD_DIR/fuzz/TARGET/corpus. Exits non-zero on any finding; the
# reproducers are left in BUILD_DIR/fuzz/TARGET/artifacts.
set -uo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 BUILD_DIR SECONDS_PER_TARGET [TARGET...]" >&2
  exit 2
fi
build=$1
seconds=$2
shift 2
root=$(cd "$(dirname "$0")/.." && pwd)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(state waveload wavereader presets bmp chooser)

# Options per target: the longest input worth mutating, and the memory
# limit of the bitmap decoder (an allocation the data cannot fill is a
# finding there).
options_of() {
  case $1 in
    state) echo "-max_len=8192" ;;
    presets) echo "-max_len=4096" ;;
    bmp) echo "-max_len=16384 -malloc_limit_mb=64" ;;
    chooser) echo "-max_len=8192" ;;
    *) echo "-max_len=16384" ;;
  esac
}

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
    -DULMAR_BUILD_FUZZERS=ON -DULMAR_BUILD_PLUGIN=OFF -DULMAR_BUILD_TESTS=OFF -DULMAR_WARNINGS_AS_ERRORS=ON >/dev/null ||
    exit 1
fi
cmake --build "$build" --target "${targets[@]/#/fuzz_}" || exit 1

status=0
for target in "${targets[@]}"; do
  fuzzer=$build/tests/fuzz/fuzz_$target
  seeds=$root/tests/fuzz/seeds/$target
  work=$build/fuzz/$target
  rm -rf "$work/artifacts"
  mkdir -p "$work/corpus" "$work/artifacts"
  read -r -a options <<<"$(options_of "$target")"
  common=(-timeout=10 -rss_limit_mb=2048 -artifact_prefix="$work/artifacts/")
  # Each seed once, whole, as committed: every regression input among them.
  replay=()
  for option in "${options[@]}"; do [[ $option == -max_len=* ]] || replay+=("$option"); done
  if ! "$fuzzer" "${common[@]}" "${replay[@]}" "$seeds"/* >"$work/replay.log" 2>&1; then
    echo "fuzz $target: a committed seed fails:" >&2
    tail -n 30 "$work/replay.log" >&2
    status=1
    continue
  fi
  echo "fuzz $target: $(ls "$seeds" | wc -l) seeds replayed, fuzzing for ${seconds}s"
  if ! "$fuzzer" "${common[@]}" "${options[@]}" -max_total_time="$seconds" -print_final_stats=1 \
    "$work/corpus" "$seeds" >"$work/fuzz.log" 2>&1 || [ -n "$(ls -A "$work/artifacts")" ]; then
    echo "fuzz $target: FINDING; reproducers in $work/artifacts:" >&2
    grep -E 'ERROR|SUMMARY|runtime error|^[a-z ]+: ' "$work/fuzz.log" | head -n 20 >&2
    ls -l "$work/artifacts" >&2
    status=1
    continue
  fi
  grep -E '^stat::number_of_executed_units' "$work/fuzz.log" | sed "s/^/fuzz $target: /"
done
[ "$status" -eq 0 ] && echo "fuzz: no findings in ${targets[*]}"
exit "$status"
