#!/usr/bin/env python3
"""Turns the filter benchmark's JSON output into a Markdown table.

One row per configuration and implementation: the median over the
repetitions of nanoseconds per sample, the real-time factor for one
channel at 48 kHz, and the speed relative to the reference kernel of the
same configuration.
"""
import json
import statistics
import sys


ORDER = ["naive", "reference", "sse2", "avx2", "avx512", "partitioned-fft"]


def main(path):
    with open(path) as f:
        data = json.load(f)
    runs = {}
    errors = {}
    for b in data["benchmarks"]:
        if b.get("run_type") != "iteration":
            continue
        name = b["run_name"] if "run_name" in b else b["name"]
        if b.get("error_occurred"):
            errors[name] = b.get("error_message", "skipped")
            continue
        runs.setdefault(name, []).append(b)

    def split(name):
        implementation, taps, block = name.split("/")
        return implementation, taps.split(":")[1], block.split(":")[1]

    configs = []
    for name in list(runs) + list(errors):
        if "/taps:" not in name:
            continue
        _, taps, block = split(name)
        if (taps, block) not in configs:
            configs.append((taps, block))

    # Tap counts at the common block size first, then the other blocks.
    configs.sort(key=lambda c: (c[1] != "512", int(c[0]), int(c[1])))
    print("| taps | block | implementation | ns per sample | x real time (48 kHz) | vs reference |")
    print("|---:|---:|---|---:|---:|---:|")
    for taps, block in configs:
        medians = {}
        for name, samples in runs.items():
            if "/taps:" not in name:
                continue
            implementation, t, b = split(name)
            if (t, b) == (taps, block):
                medians[implementation] = statistics.median(s["ns_per_sample"] for s in samples)
        reference = medians.get("reference")
        rows = [n for n in list(runs) + list(errors) if "/taps:" in n and split(n)[1:] == (taps, block)]
        rows.sort(key=lambda n: ORDER.index(split(n)[0]) if split(n)[0] in ORDER else len(ORDER))
        for name in rows:
            implementation = split(name)[0]
            if name in errors:
                print(f"| {taps} | {block} | {implementation} | n/a ({errors[name]}) | | |")
                continue
            ns = medians[implementation]
            realtime = 1e9 / 48000.0 / ns
            ratio = f"{reference / ns:.2f}x" if reference else ""
            print(f"| {taps} | {block} | {implementation} | {ns:,.1f} | {realtime:,.1f} | {ratio} |")


if __name__ == "__main__":
    main(sys.argv[1])
