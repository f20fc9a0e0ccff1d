#!/usr/bin/env python3
"""Writes the BMP files the toolkit tests load as bitmap resources.

strip24.bmp  24-bit, 8 x 24: three frames of 8 rows in (200,40,40),
             (40,200,40) and (40,40,200), each with a 4 x 4 magenta block
             at its top-left.
pal8.bmp     8-bit uncompressed, 6 x 5, three palette colours: pixel (x, y)
             has colour (x + y) % 3.
rle8.bmp     the same image run-length encoded.
"""
import struct
import sys
from pathlib import Path

PALETTE = [(10, 20, 30), (250, 128, 0), (0, 128, 255)]
FRAMES = [(200, 40, 40), (40, 200, 40), (40, 40, 200)]
MAGENTA = (255, 0, 255)


def bmp(width, height, bit_count, compression, palette, data):
    palette_bytes = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    offset = 14 + 40 + len(palette_bytes)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, compression, len(data), 2835, 2835,
                       len(palette), 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    return header + info + palette_bytes + data


def strip24():
    width, height = 8, 24
    rows = []
    for y in range(height):  # top row first
        frame, row_in_frame = divmod(y, 8)
        line = b""
        for x in range(width):
            r, g, b = MAGENTA if (x < 4 and row_in_frame < 4) else FRAMES[frame]
            line += bytes((b, g, r))
        rows.append(line + b"\0" * ((4 - len(line) % 4) % 4))
    return bmp(width, height, 24, 0, [], b"".join(reversed(rows)))


def indices(width, height):
    return [[(x + y) % 3 for x in range(width)] for y in range(height)]  # top row first


def pal8():
    width, height = 6, 5
    rows = [bytes(row) + b"\0" * ((4 - width % 4) % 4) for row in indices(width, height)]
    return bmp(width, height, 8, 0, PALETTE, b"".join(reversed(rows)))


def rle8():
    width, height = 6, 5
    data = b""
    for row in reversed(indices(width, height)):  # bottom row first
        # An encoded run of the first pixel, then the rest as literals.
        data += bytes((1, row[0]))
        rest = row[1:]
        data += bytes((0, len(rest))) + bytes(rest) + (b"\0" if len(rest) % 2 else b"")
        data += b"\0\0"  # end of line
    data += b"\0\1"  # end of bitmap
    return bmp(width, height, 8, 1, PALETTE, data)


def main():
    out = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).parent)
    (out / "strip24.bmp").write_bytes(strip24())
    (out / "pal8.bmp").write_bytes(pal8())
    (out / "rle8.bmp").write_bytes(rle8())


if __name__ == "__main__":
    main()
