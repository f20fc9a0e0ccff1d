#!/usr/bin/env python3
"""Writes the impulse responses the editor's real-mouse test loads, and
prints the length and gain parameters the plug-in is expected to choose
for the good one when it is the first response loaded on its thread.

    make-test-response.py GOOD.wav BAD.wav

GOOD.wav is a 16-bit mono reverb-like tail; BAD.wav is a text file with the
.wav name. The expected values are worked out here from the rules of the
automatic length (the last 16-sample block holding a sample louder than
0.01, plus 16) and the automatic gain (the mean of the response's outputs
for ten triangle waves and one noise, 0.35 over it, at most 2), in single
precision as the plug-in computes them."""
import math
import struct
import sys
import wave

FRAMES = 16000
MAX_TAPS = 32768


def f32(x):
    return struct.unpack("<f", struct.pack("<f", x))[0]


def samples():
    state = 12345
    values = []
    for i in range(FRAMES):
        state = (state * 1103515245 + 12345) % (1 << 31)
        noise = state / (1 << 31) * 1.6 - 0.8
        values.append(0.9 if i == 0 else noise * math.exp(-i / 2500.0))
    return [max(-32768, min(32767, int(round(v * 32767)))) for v in values]


def automatic_length(h):
    n = min(FRAMES + (-FRAMES) % 16, MAX_TAPS)
    while n >= 16 and max(abs(x) for x in h[n - 16 : n]) <= 0.01:
        n -= 16
    return min(n + 16, MAX_TAPS)


def automatic_gain_parameter(h, taps):
    signals = []
    for period in (4, 16, 32, 64, 128, 256, 512, 1024, 2048, 4096):
        q = period // 4
        w = [0.0] * period
        for i in range(q):
            w[i] = f32(i / q)
        for i in range(q):
            w[q + i] = f32(1.0 - w[i])
        for i in range(2 * q, period):
            w[i] = -w[i - 2 * q]
        signals.append((w, period))
    state = 1
    noise = []
    for _ in range(4096):
        state = (state * 214013 + 2531011) % (1 << 32)
        noise.append(f32(2.0 * ((state >> 16) & 32767) / 32767.0 - 1.0))
    signals.append((noise, 4096))
    total = 0.0
    for w, period in signals:
        a = 0.0
        for l in range(taps):
            a = f32(a + h[l] * w[l % period])
        total = f32(total + abs(a))
    average = f32(total / 11.0)
    g = 1.0 / abs(average) if average != 0.0 else 1.0
    gain = min(max(f32(g * 0.35), 0.0), 2.0)
    return f32(math.sqrt(f32(gain / 2.0)))


def main():
    good, bad = sys.argv[1], sys.argv[2]
    pcm = samples()
    with wave.open(good, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(44100)
        out.writeframes(struct.pack("<%dh" % len(pcm), *pcm))
    with open(bad, "w") as out:
        out.write("This is a text file, not a wave file.\n")
    h = [f32(x / 32768.0) for x in pcm] + [0.0] * MAX_TAPS
    taps = automatic_length(h)
    print("%.6f %.6f" % (taps / MAX_TAPS, automatic_gain_parameter(h, taps)))


main()
