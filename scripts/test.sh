#!/usr/bin/env bash
# The test job: set up the machine, build the three plug-ins with their
# tests, run every test natively and (Windows) under 64-bit and 32-bit
# Wine, the latter through QEMU's user-mode emulator, run the
# Linux tests again under AddressSanitizer + UndefinedBehaviorSanitizer and
# under ThreadSanitizer, replay the fuzz targets' seeds and fuzz each for a
# bounded time, and print one summary line.
set -uo pipefail
cd "$(dirname "$0")/.."

fuzz_seconds=${ULMAR_FUZZ_SECONDS:-20}
jobs=$(nproc)
passed=0
failed=0
failures=()

bash scripts/setup.sh || exit 1
bash scripts/build-plugins.sh --with-tests || exit 1

# run_ctest NAME BUILD_DIR: runs one build's tests and adds up the results.
run_ctest() {
  local name=$1 dir=$2 log
  log=$(mktemp)
  echo "== tests: $name"
  (cd "$dir" && ctest --output-on-failure --timeout 900 -j "$jobs") 2>&1 | tee "$log"
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then
    failed=$((failed + 1))
    failures+=("$name: ctest did not finish")
  else
    total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
    bad=$(sed -E 's/.*passed, ([0-9]+) tests failed.*/\1/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    [ "$bad" -eq 0 ] || failures+=("$name: $bad failed")
  fi
  rm -f "$log"
  # Which FIR kernel tiers this build's tests ran on.
  grep -ho 'FIR kernel tier: .*' "$dir/Testing/Temporary/LastTest.log" 2>/dev/null | awk '!seen[$0]++' |
    sed "s/^/$name: /"
}

# wine_prefix BUILD_DIR LOADER [WINEARCH]: gives a build's Windows tests
# their own prefix, created once, before tests run side by side under it.
wine_prefix() {
  export WINEPREFIX=$(pwd)/$1/wineprefix
  if [ -n "${3:-}" ]; then export WINEARCH=$3; else unset WINEARCH; fi
  WINEDEBUG=-all "$2" wineboot --init >/dev/null 2>&1 || true
}
stop_wine() {
  WINEDEBUG=-all /usr/lib/wine/wineserver -k 2>/dev/null || true
  unset WINEPREFIX WINEARCH
}

run_ctest linux build/linux
wine_prefix build/win64 /usr/lib/wine/wine64
run_ctest win64-wine build/win64
stop_wine
started=$SECONDS
wine_prefix build/win32 /usr/lib/wine/wine win32
run_ctest win32-wine build/win32
stop_wine
echo "win32-wine: $((SECONDS - started)) s, prefix and tests"

for preset in linux-asan linux-tsan; do
  echo "== build: $preset"
  if cmake --preset "$preset" >/dev/null && cmake --build "build/$preset" --parallel "$jobs"; then
    run_ctest "$preset" "build/$preset"
  else
    failed=$((failed + 1))
    failures+=("$preset: build failed")
  fi
done

# Each fuzz target replays its committed seeds, then fuzzes for a bounded
# time; each counts as one test.
started=$SECONDS
for target in state waveload wavereader presets bmp chooser; do
  echo "== fuzz: $target for ${fuzz_seconds}s"
  if bash scripts/fuzz.sh build/fuzz "$fuzz_seconds" "$target"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("fuzz: $target")
  fi
done
echo "fuzz: $((SECONDS - started)) s, build and targets"

echo
for f in "${failures[@]}"; do echo "FAILED: $f"; done
echo "Ulmar: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
