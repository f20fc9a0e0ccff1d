#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora into tests/fuzz/seeds/<target>/.

Small valid inputs of every kind each target reads, the broken kinds it
refuses, and one input per fault the fuzzers found or that was mended
(named regression-*), so that replaying the seeds checks each mend again.
Run it after changing it and commit what it writes:
    python3 scripts/make-fuzz-seeds.py
"""
import math
import os
import random
import shutil
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "fuzz", "seeds")


def write(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# ---- WAV files -----------------------------------------------------------

def chunk(tag, body):
    data = tag + struct.pack("<I", len(body)) + body
    return data + (b"\0" if len(body) % 2 else b"")


def riff(chunks, form=b"WAVE"):
    body = form + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def fmt(tag, channels, bits, rate=8000, block=None):
    block = block or channels * bits // 8
    return chunk(b"fmt ", struct.pack("<HHIIHH", tag, channels, rate, rate * block, block, bits))


GUID_TAIL = b"\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71"


def fmt_extensible(sub_tag, channels, bits, valid, cb_size=22):
    block = channels * bits // 8
    body = struct.pack("<HHIIHHHHI", 0xFFFE, channels, 8000, 8000 * block, block, bits, cb_size, valid, 3)
    body += struct.pack("<I", sub_tag) + GUID_TAIL
    return chunk(b"fmt ", body)


def signal(frames, channels):
    rng = random.Random(frames * 31 + channels)
    return [[math.exp(-i / 60.0) * (rng.random() * 2 - 1) for _ in range(channels)] for i in range(frames)]


def samples(kind, values):
    flat = [v for frame in values for v in frame]
    if kind == "u8":
        return bytes(int(128 + 127 * v) for v in flat)
    if kind == "pcm16":
        return b"".join(struct.pack("<h", int(32767 * v)) for v in flat)
    if kind == "pcm24":
        return b"".join(struct.pack("<i", int(8388607 * v))[:3] for v in flat)
    if kind == "pcm32":
        return b"".join(struct.pack("<i", int(2147483647 * v)) for v in flat)
    if kind == "float32":
        return b"".join(struct.pack("<f", v) for v in flat)
    return b"".join(struct.pack("<d", v) for v in flat)


FORMATS = {"u8": (1, 8), "pcm16": (1, 16), "pcm24": (1, 24), "pcm32": (1, 32), "float32": (3, 32),
           "float64": (3, 64)}


def wave_files():
    files = {}
    for name, (tag, bits) in FORMATS.items():
        for channels in (1, 2):
            values = signal(300, channels)
            files[f"{name}_{channels}ch.wav"] = riff([fmt(tag, channels, bits), chunk(b"data", samples(name, values))])
    values = signal(200, 2)
    files["ext_float32_stereo.wav"] = riff([fmt_extensible(3, 2, 32, 32), chunk(b"data", samples("float32", values))])
    files["ext_pcm24_in_32.wav"] = riff([fmt_extensible(1, 1, 32, 24), chunk(b"data", samples("pcm32", signal(200, 1)))])
    files["ext_unknown_subformat.wav"] = riff([fmt_extensible(2, 1, 16, 16), chunk(b"data", b"\x10\x00\xf0\xff")])
    files["ext_valid_above_container.wav"] = riff([fmt_extensible(1, 1, 24, 28), chunk(b"data", b"\0" * 6)])
    files["ext_cbsize_0.wav"] = riff([fmt_extensible(1, 1, 16, 16, cb_size=0), chunk(b"data", b"\0" * 4)])
    files["data_first.wav"] = riff([chunk(b"data", b"\x01\x00\xff\x7f\x00\x80"), chunk(b"LIST", b"INFO"),
                                    fmt(1, 1, 16)])
    files["odd_chunk.wav"] = riff([chunk(b"junk", b"abc"), fmt(1, 2, 8), chunk(b"data", b"\x00\x80\xff\x01")])
    files["pcm12.wav"] = riff([fmt(1, 1, 12, block=2), chunk(b"data", b"\x10\x00\xf0\xff")])
    files["padded_frames.wav"] = riff([fmt(1, 1, 16, block=4), chunk(b"data", b"\x01\x00\x00\x00\xff\x7f\x00\x00")])
    # A data chunk declared longer than the file: the loader gets no frames.
    body = samples("float32", signal(100, 1))
    head = b"WAVE" + fmt(3, 1, 32) + b"data" + struct.pack("<I", 4000)
    files["long_data.wav"] = b"RIFF" + struct.pack("<I", len(head) + 4000) + head + body
    files["not_riff.wav"] = b"RIFX\0\0\0\0WAVEfmt "
    files["not_wave.wav"] = riff([], form=b"AVI ")
    # Huge finite samples near the float range's end: they summed to
    # infinity in the filter before responses were bounded.
    huge = [[(3.0e38 if i % 2 == 0 else -3.0e38)] for i in range(64)]
    files["regression-huge-float-samples.wav"] = riff([fmt(3, 1, 32), chunk(b"data", samples("float32", huge))])
    files["regression-huge-double-samples.wav"] = riff(
        [fmt(3, 1, 64), chunk(b"data", samples("float64", [[1e300], [-1e30], [3.4e38], [-3.4e38]]))])
    return files


# ---- the state block -------------------------------------------------------

STATE_SIZE = 131356
PATH_SIZE = 260


def state(control, path=b"... empty ...", parameters=(0.5, 0.5, 0.5, 0.0, 0.0), response=(), loaded=None):
    block = path.ljust(PATH_SIZE, b"\0")[:PATH_SIZE] + struct.pack("<5f", *parameters)
    block += b"".join(struct.pack("<f", v) for v in response)
    if loaded is not None:
        block = block.ljust(STATE_SIZE - 4, b"\0") + bytes([loaded, 0, 0, 0])
    return bytes([control]) + block


def state_seeds():
    room = [v for (v,) in signal(2000, 1)]
    nan = float("nan")
    inf = float("inf")
    yield "fresh", state(0)
    yield "loaded_room", state(4, b"/home/someone/rooms/hall.wav", (0.4, 0.6, 0.1, 0.0, 0.0), room)
    yield "loaded_flag_in_block", state(0, b"/tmp/x.wav", (0.5, 0.7, 1.0, 0.0, 0.0), room[:100], loaded=1)
    yield "longer_block", state(1, b"/tmp/x.wav", (0.5, 0.7, 0.2, 0.0, 1.0), room[:500])
    yield "short_block_refused", state(2, b"/tmp/x.wav")
    yield "one_byte_short", state(3)
    yield "bypassed", state(4, b"b.wav", (0.5, 1.0, 1.0, 1.0, 0.0), room)
    yield "rate_1hz", state(4 | (3 << 3), b"r.wav", (0.5, 0.5, 1.0, 0.0, 0.0), room[:64])
    yield "path_unterminated", state(4, b"p" * PATH_SIZE, (0.5, 0.5, 0.01, 0.0, 0.0), room[:64])
    # Samples near the float range's end made the output infinite.
    yield "regression-huge-samples", state(4, b"h.wav", (0.5, 1.0, 1.0, 0.0, 0.0),
                                          [3.0e38 if i % 3 else -3.0e38 for i in range(1024)])
    # Values far outside 0..1 made display texts of up to 31 characters.
    yield "regression-long-texts", state(4 | (2 << 3), b"t.wav", (-3.0e38, 3.0e38, -1.0e30, nan, 1.0e30), room[:32])
    yield "regression-long-texts-2", state(0, b"t.wav", (1.0e9, -0.7, 123456.0, -inf, inf), room[:32])
    # A mix far outside 0..1 (or NaN) overflowed the wet and dry factors.
    yield "regression-huge-mix", state(4, b"m.wav", (3.0e38, 1.0, 0.5, 0.0, 0.0), room)
    yield "regression-nan-mix", state(4, b"m.wav", (nan, 1.0, 0.5, 0.0, 0.0), room)
    yield "regression-infinite-mix", state(4, b"m.wav", (-inf, 1.0, 0.5, 0.0, 0.0), room)


# ---- preset files ------------------------------------------------------------

def be(value):
    return struct.pack(">i", value)


PLUGIN_ID = struct.unpack(">i", b"Wq11")[0]


def program(chunk_bytes, name=b"Hall", version=1, plugin=PLUGIN_ID):
    body = b"FPCh" + be(version) + be(plugin) + be(1300) + be(5) + name.ljust(28, b"\0")[:28]
    body += be(len(chunk_bytes)) + chunk_bytes
    return b"CcnK" + be(len(body)) + body


def bank(chunk_bytes, version=2, current=0):
    reserved = (be(current) if version == 2 else b"").ljust(128, b"\0")
    body = b"FBCh" + be(version) + be(PLUGIN_ID) + be(1300) + be(1) + reserved + be(len(chunk_bytes)) + chunk_bytes
    return b"CcnK" + be(len(body)) + body


def preset_seeds():
    payload = bytes(range(256)) * 2
    yield "program", program(payload)
    yield "program_empty_chunk", program(b"")
    yield "bank_v1", bank(payload, version=1)
    yield "bank_v2", bank(payload, version=2, current=3)
    yield "wrong_plugin", program(payload, plugin=1234)
    yield "parameter_form", b"CcnK" + be(20) + b"FxCk" + be(1) + be(PLUGIN_ID) + be(1) + be(0)
    yield "truncated", program(payload)[:80]
    # A program name filling its 28 bytes without a terminator read back as
    # 28 characters, but was written as 27.
    yield "regression-unterminated-name", program(payload, name=b"N" * 28)


# ---- bitmaps --------------------------------------------------------------------

def bmp(width, height, bits, pixel_data, compression=0, palette=b"", colours=0):
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixel_data), 2835, 2835, colours,
                       0)
    return b"BM" + struct.pack("<IHHI", offset + len(pixel_data), 0, 0, offset) + info + palette + pixel_data


def bmp_seeds():
    def rows24(width, height):
        stride = (width * 3 + 3) & ~3
        return b"".join(bytes((x * 40 + y * 7) & 255 for x in range(width * 3)).ljust(stride, b"\0")
                        for y in range(height))

    palette = b"".join(bytes([i, 255 - i, i // 2, 0]) for i in range(16))
    yield "rgb24", bmp(5, 3, 24, rows24(5, 3))
    yield "rgb24_top_down", bmp(4, -4, 24, rows24(4, 4))
    yield "pal8", bmp(6, 2, 8, bytes(range(6)).ljust(8, b"\0") * 2, palette=palette, colours=16)
    rle = b"\x04\x01\x00\x02\x01\x05\x00\x00\x02\x03\x00\x02\x01\x01\x00\x03\x07\x08\x09\x00\x00\x01"
    yield "rle8", bmp(8, 3, 8, rle, compression=1, palette=palette, colours=16)
    # A header asking for 16384 x 16384 pixels over a few bytes of data
    # allocated a gigabyte before the size check.
    yield "regression-huge-header", bmp(16384, 16384, 24, b"\0" * 16)
    yield "regression-huge-rle-header", bmp(16384, 16384, 8, b"\x00\x01", compression=1, palette=palette, colours=16)


# ---- what stands at a response's path ----------------------------------------

REGULAR, FIFO, FOLDER = 0, 2, 3
LINKED = 4


def main():
    shutil.rmtree(ROOT, ignore_errors=True)
    waves = wave_files()
    for name, data in waves.items():
        write("wavereader", name, data)
    for name in ("float32_1ch.wav", "pcm16_2ch.wav", "pcm24_1ch.wav", "u8_2ch.wav", "ext_pcm24_in_32.wav",
                 "long_data.wav", "pcm12.wav", "not_riff.wav", "regression-huge-float-samples.wav",
                 "regression-huge-double-samples.wav"):
        write("waveload", name, bytes([REGULAR]) + waves[name])
    write("waveload", "linked_file.wav", bytes([REGULAR | LINKED]) + waves["float64_1ch.wav"])
    # A FIFO chosen as a response blocked the open for good.
    write("waveload", "regression-fifo", bytes([FIFO]))
    write("waveload", "regression-fifo-linked", bytes([FIFO | LINKED]))
    write("waveload", "folder", bytes([FOLDER]))
    for name, data in state_seeds():
        write("state", name, data)
    for name, data in preset_seeds():
        write("presets", name, data)
    for name, data in bmp_seeds():
        write("bmp", name, data)
    # The chooser's output: a first byte for the size of the pipe's pieces.
    write("chooser", "plain", b"\x03/home/someone/rooms/hall.wav\n")
    write("chooser", "no_line_end", b"\xff/tmp/a b.wav")
    write("chooser", "crlf", b"\x00C:\\rooms\\x.wav\r\n")
    write("chooser", "not_utf8", b"\x07/tmp/\xe9\xff\xfe\x80.wav\n")
    write("chooser", "newline_inside", b"\x10/tmp/two\nlines.wav\n")
    write("chooser", "empty", b"\x01\n")
    write("chooser", "too_long", b"\x40/" + b"d" * 5000 + b"\n")
    # A NUL inside the output named the file before it, cut short there.
    write("chooser", "regression-nul-inside", b"\x05/tmp/a.wav\x00/etc/other.wav\n")


if __name__ == "__main__":
    main()
