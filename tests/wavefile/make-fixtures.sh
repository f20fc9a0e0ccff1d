#!/usr/bin/env bash
# Writes the wave fixtures into OUTDIR: files made by sox and by libsndfile
# in every accepted sample format, mono, stereo and six channels, with
# plain and with extensible headers; then, beside each NAME.wav, NAME.f32
# with libsndfile's decoding of it as the reference.
#   make-fixtures.sh OUTDIR WAVE_REFERENCE_SOURCE
# Runs natively, also for cross builds; needs sox, a host C++ compiler and
# libsndfile's development files (pkg-config sndfile).
set -euo pipefail

out=$1
source=$2
mkdir -p "$out"
tool=$out/wave-reference
if [ ! -x "$tool" ] || [ "$source" -nt "$tool" ]; then
  # shellcheck disable=SC2046
  "${HOST_CXX:-c++}" -std=c++17 -O1 -Wall -Wextra -o "$tool" "$source" $(pkg-config --cflags --libs sndfile)
fi

rm -f "$out"/*.wav "$out"/*.f32

# sox: full-scale noise, a square wave that reaches both extremes and
# tones; no dither, so that the samples are the generator's own.
soxgen() {  # NAME CHANNELS FRAMES TYPE ENCODING BITS
  local name=$1 channels=$2 frames=$3 type=$4 encoding=$5 bits=$6
  sox -D -R -r 44100 -c "$channels" -n -t "$type" -e "$encoding" -b "$bits" "$out/$name.wav" \
    synth "${frames}s" whitenoise square 50 sine 1000 triangle 300 sawtooth 77 pinknoise vol 1.0 2>/dev/null
}
soxgen sox_u8_mono 1 3001 wavpcm unsigned-integer 8
soxgen sox_pcm16_stereo 2 3000 wavpcm signed-integer 16
soxgen sox_pcm16_6ch 6 777 wavpcm signed-integer 16
soxgen sox_pcm16_mono_long 1 48000 wavpcm signed-integer 16
soxgen sox_pcm24_mono 1 2500 wavpcm signed-integer 24
soxgen sox_pcm32_stereo 2 2500 wavpcm signed-integer 32
soxgen sox_float32_6ch 6 1500 wavpcm floating-point 32
soxgen sox_float64_stereo 2 1500 wavpcm floating-point 64
soxgen sox_extensible24_stereo 2 500 wav signed-integer 24

# sox writes the extensible header for more than two channels and for more
# than 16 bits. These end in silence, so that trimming has work to do, and
# each one's samples come again under a plain header in NAME_plain.wav.
soxext() {  # NAME CHANNELS FRAMES BITS SILENT_FRAMES
  local name=$1 channels=$2 frames=$3 bits=$4 silent=$5
  sox -D -R -r 44100 -c "$channels" -n -t wav -e signed-integer -b "$bits" "$out/$name.wav" \
    synth "${frames}s" whitenoise square 50 sine 1000 triangle 300 sawtooth 77 pinknoise vol 1.0 \
    pad 0 "${silent}s" 2>/dev/null
  sox -D -R "$out/$name.wav" -t wavpcm "$out/${name}_plain.wav"
}
soxext sox_ext_pcm24_mono 1 1200 24 500
soxext sox_ext_pcm24_6ch 6 900 24 333
soxext sox_ext_pcm32_4ch 4 1000 32 700
soxext sox_ext_pcm16_3ch 3 1500 16 250

# libsndfile: the extremes of every width, double mantissas, and the
# extra chunks it writes (fact, PEAK).
"$tool" write "$out/sf_u8_stereo.wav" u8 2 1001
"$tool" write "$out/sf_pcm24_6ch.wav" pcm24 6 1200
"$tool" write "$out/sf_pcm32_mono.wav" pcm32 1 3333
"$tool" write "$out/sf_float32_mono.wav" float 1 2000
"$tool" write "$out/sf_float64_stereo.wav" double 2 2000
"$tool" write "$out/sf_wavex24_mono.wav" wavex24 1 500
"$tool" write "$out/sf_wavexfloat_4ch.wav" wavexfloat 4 700

for wav in "$out"/*.wav; do
  "$tool" dump "$wav" "${wav%.wav}.f32"
done
echo "make-fixtures: $(ls "$out"/*.wav | wc -l) files in $out"
