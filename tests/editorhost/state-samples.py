#!/usr/bin/env python3
"""Mono 16-bit responses for the file-name scenarios, and the hash of the
samples the plug-in's saved state holds once one of them is loaded.

    state-samples.py write OUT.wav FRAMES SEED
    state-samples.py hash IN.wav

The state holds 32768 single-precision samples: the file's (16-bit PCM
s × 2^-15, exact in single precision), then zeros. The hash is FNV-1a over
their little-endian bytes, 64 bits, printed as 16 hexadecimal digits, as
the test host's "chunk" command prints it."""
import os
import struct
import sys
import wave

STATE_SAMPLES = 32768


def write(path, frames, seed):
    state = seed
    data = bytearray()
    for i in range(frames):
        state = (state * 1103515245 + 12345) & 0x7FFFFFFF
        decay = 1.0 - i / frames
        value = int(((state >> 8) / float(1 << 23) * 2.0 - 1.0) * decay * 30000)
        data += struct.pack("<h", value)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(48000)
        out.writeframes(bytes(data))


def state_hash(path):
    with wave.open(path, "rb") as f:
        raw = f.readframes(min(f.getnframes(), STATE_SAMPLES))
    count = len(raw) // 2
    samples = [s / 32768.0 for s in struct.unpack("<%dh" % count, raw)]
    samples += [0.0] * (STATE_SAMPLES - count)
    h = 14695981039346656037
    for byte in struct.pack("<%df" % STATE_SAMPLES, *samples):
        h = ((h ^ byte) * 1099511628211) & 0xFFFFFFFFFFFFFFFF
    return "%016x" % h


if __name__ == "__main__":
    if sys.argv[1] == "write":
        write(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]))
    else:
        print(state_hash(sys.argv[2]))
