#!/usr/bin/env bash
# Renders a demo through the Linux plug-in: generates a short impulse
# response (a decaying noise room) and a short stereo input (plucked notes)
# with sox, runs them through BUILD_DIR's ulmar-render, and prints where the
# plug-in, the rendered file and its preset are, and the summary line.
# Usage: scripts/render-demo.sh BUILD_DIR OUT_DIR
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR OUT_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)

tool="$build/tools/ulmar-render"
plugin="$build/plugin/Ulmar_v1.so"
for f in "$tool" "$plugin"; do
  [ -e "$f" ] || { echo "render-demo: $f is missing: build $build first" >&2; exit 1; }
done
command -v sox >/dev/null || { echo "render-demo: sox is missing: run scripts/setup.sh" >&2; exit 1; }

rate=48000
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The response: a direct click, then 0.6 s of pink noise fading out
# logarithmically, 16-bit mono, as a small room would sound. (Plain PCM:
# the plug-in reads the basic WAVE format tags, which sox writes for 16 bits.)
sox -n -r $rate -c 1 -b 16 "$scratch/click.wav" synth 0.002 sine 1000 fade h 0 0.002 0.002
sox -n -r $rate -c 1 -b 16 "$scratch/room.wav" synth 0.6 pinknoise fade l 0.005 0.6 0.595 gain -n -12
sox -m "$scratch/click.wav" "$scratch/room.wav" "$out/demo-ir.wav"

# The input: a short arpeggio on the left, its fifth on the right, 16-bit.
notes_left=(A3 C4 E4 A4)
notes_right=(E4 G4 B4 E5)
for i in 0 1 2 3; do
  sox -n -r $rate -c 1 -b 16 "$scratch/l$i.wav" synth 0.35 pluck "${notes_left[$i]}" gain -n -6
  sox -n -r $rate -c 1 -b 16 "$scratch/r$i.wav" synth 0.35 pluck "${notes_right[$i]}" gain -n -9
done
sox "$scratch"/l{0,1,2,3}.wav "$scratch/left.wav"
sox "$scratch"/r{0,1,2,3}.wav "$scratch/right.wav"
sox -M "$scratch/left.wav" "$scratch/right.wav" "$out/demo-input.wav"

summary=$("$tool" --plugin "$plugin" --ir "$out/demo-ir.wav" --mix 40 \
  --save-preset "$out/demo-preset.fxp" "$out/demo-input.wav" "$out/demo-rendered.wav")

echo "Linux plug-in:     $plugin"
echo "Impulse response:  $out/demo-ir.wav"
echo "Input:             $out/demo-input.wav"
echo "Rendered:          $out/demo-rendered.wav"
echo "Preset:            $out/demo-preset.fxp"
echo "Summary:           $summary"
