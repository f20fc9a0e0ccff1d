#!/usr/bin/env bash
# Fuzzes WaveReader for a bounded time.
#   scripts/fuzz-wavereader.sh BUILD_DIR SECONDS
# Configures BUILD_DIR with clang and the fuzzers on (when it is not yet
# configured), builds only the fuzz_wavereader target, writes a small seed
# corpus of valid and broken wave files, and runs the fuzzer. Exits
# non-zero when the fuzzer reports a finding; the reproducer is left in
# BUILD_DIR/fuzz-wavereader/artifacts.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR SECONDS" >&2
  exit 2
fi
build=$1
seconds=$2
root=$(cd "$(dirname "$0")/.." && pwd)

if [ ! -f "$build/CMakeCache.txt" ]; then
  CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja \
    -DULMAR_BUILD_FUZZERS=ON -DULMAR_BUILD_PLUGIN=OFF -DULMAR_BUILD_TESTS=OFF -DULMAR_WARNINGS_AS_ERRORS=ON >/dev/null
fi
cmake --build "$build" --target fuzz_wavereader
fuzzer=$(find "$build" -name fuzz_wavereader -type f -perm -u+x | head -n 1)
[ -n "$fuzzer" ] || { echo "fuzz-wavereader: fuzz_wavereader was not built" >&2; exit 1; }

work=$build/fuzz-wavereader
seeds=$work/seeds
corpus=$work/corpus
artifacts=$work/artifacts
rm -rf "$seeds" "$artifacts"
mkdir -p "$seeds" "$corpus" "$artifacts"

# Valid files of every accepted format, plain and extensible, small enough
# to mutate quickly.
if command -v sox >/dev/null; then
  gen() {  # NAME CHANNELS ENCODING BITS [TYPE]
    sox -D -R -r 8000 -c "$2" -n -t "${5:-wavpcm}" -e "$3" -b "$4" "$seeds/$1.wav" \
      synth 40s whitenoise sine 300 square 40 vol 1.0 2>/dev/null
  }
  gen u8_mono 1 unsigned-integer 8
  gen pcm16_stereo 2 signed-integer 16
  gen pcm24_3ch 3 signed-integer 24
  gen pcm32_mono 1 signed-integer 32
  gen float32_stereo 2 floating-point 32
  gen float64_mono 1 floating-point 64
  gen extensible 2 signed-integer 24 wav
  # sox's extensible headers: more than two channels or more than 16 bits.
  gen ext_pcm24_mono 1 signed-integer 24 wav
  gen ext_pcm16_3ch 3 signed-integer 16 wav
  gen ext_pcm32_4ch 4 signed-integer 32 wav
else
  echo "fuzz-wavereader: sox not found, using the hand-made seeds only" >&2
fi

# Hand-made: little-endian helpers, then a header with data before fmt and
# a list chunk, an odd-sized chunk with its pad, a 12-bit file, a data chunk
# longer than the file, and a file that is not RIFF.
le16() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }
fmt() {  # TAG CHANNELS BLOCKALIGN BITS
  printf 'fmt '; le32 16; le16 "$1"; le16 "$2"; le32 8000; le32 $((8000 * $3)); le16 "$3"; le16 "$4"
}
{ printf 'RIFF'; le32 54; printf 'WAVE'; printf 'data'; le32 6; printf '\x01\x00\xff\x7f\x00\x80'
  printf 'LIST'; le32 4; printf 'INFO'; fmt 1 1 2 16; } >"$seeds/data_first.wav"
{ printf 'RIFF'; le32 52; printf 'WAVE'; printf 'junk'; le32 3; printf 'abc\x00'; fmt 1 2 2 8
  printf 'data'; le32 4; printf '\x00\x80\xff\x01'; } >"$seeds/odd_chunk.wav"
{ printf 'RIFF'; le32 40; printf 'WAVE'; fmt 1 1 2 12; printf 'data'; le32 4; printf '\x10\x00\xf0\xff'; } \
  >"$seeds/pcm12.wav"
{ printf 'RIFF'; le32 40; printf 'WAVE'; fmt 3 1 4 32; printf 'data'; le32 4000; printf '\x00\x00\x80\x3f'; } \
  >"$seeds/long_data.wav"
printf 'RIFX\x00\x00\x00\x00WAVEfmt ' >"$seeds/not_riff.wav"

# Extensible headers: a float sub-format, 24 valid bits in 32, and the
# refused kinds (an unknown sub-format, valid bits above the container,
# cbSize 0), so that mutations start on both sides of each check.
fmtx() {  # SUBTAG CHANNELS BLOCKALIGN BITS VALIDBITS CBSIZE
  printf 'fmt '; le32 40; le16 65534; le16 "$2"; le32 8000; le32 $((8000 * $3)); le16 "$3"; le16 "$4"
  le16 "$6"; le16 "$5"; le32 3; le32 "$1"; printf '\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71'
}
extensible() {  # NAME DATA_BYTES FMTX_ARGUMENTS...
  local name=$1 data=$2
  shift 2
  { printf 'RIFF'; le32 $((4 + 48 + 8 + ${#data} / 4)); printf 'WAVE'; fmtx "$@"
    printf 'data'; le32 $((${#data} / 4)); printf '%b' "$data"; } >"$seeds/$name.wav"
}
extensible ext_float32_stereo '\x00\x00\x80\x3f\x00\x00\x80\xbf' 3 2 8 32 32 22
extensible ext_pcm24_in_32 '\x00\x00\x00\x80\x00\xff\xff\x7f' 1 1 4 32 24 22
extensible ext_unknown_subformat '\x10\x00\xf0\xff' 2 1 2 16 16 22
extensible ext_valid_above_container '\x00\x00\x80\xff\xff\x7f' 1 1 3 24 28 22
extensible ext_cbsize_0 '\x10\x00\xf0\xff' 1 1 2 16 16 0

echo "fuzz-wavereader: $(ls "$seeds" | wc -l) seeds, fuzzing for ${seconds}s"
status=0
"$fuzzer" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" "$seeds" || status=$?

if [ "$status" -ne 0 ] || [ -n "$(ls -A "$artifacts")" ]; then
  echo "fuzz-wavereader: FINDING (exit $status); reproducers in $artifacts:" >&2
  ls -l "$artifacts" >&2
  exit 1
fi
echo "fuzz-wavereader: no findings"
