#!/usr/bin/env bash
# lv2apply renders a file through the bundle with control values from its
# command line. Without a response (lv2apply cannot restore a state) the
# plug-in passes its input: the output's samples are the input's.
# Usage: lv2apply-smoke.sh BUNDLE URI
set -euo pipefail
bundle=$1
uri=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
sox -n -r 48000 -c 1 -e floating-point -b 32 "$dir/in.wav" synth 0.5 sine 440 vol 0.5
LV2_PATH=$(dirname "$bundle") lv2apply -i "$dir/in.wav" -o "$dir/out.wav" -c mix 0.25 -c out_gain 0.9 -c bypass 0 "$uri"
[ "$(soxi -s "$dir/out.wav")" = "$(soxi -s "$dir/in.wav")" ] || { echo "FAIL: lengths differ"; exit 1; }
peak=$(sox -m -v 1 "$dir/in.wav" -v -1 "$dir/out.wav" -n stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
[ "$peak" = "0.000000" ] || { echo "FAIL: the output is not the input (difference peak $peak)"; exit 1; }
echo "lv2apply rendered $(soxi -s "$dir/out.wav") samples through the bundle, output equal to input"
