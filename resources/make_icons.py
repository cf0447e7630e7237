#!/usr/bin/env python3
"""Writes the key icon in the hicolor sizes as PNG files from the XPM drawings. Run from this folder."""
import re
import struct
import zlib


def read_xpm(path):
    rows = re.findall(r'"([^"]*)"', open(path).read())
    width, height, ncolors, _ = map(int, rows[0].split())
    palette = {}
    for line in rows[1:1 + ncolors]:
        key, _, value = line[0], line[1:3], line.split()[-1]
        palette[key] = None if value == "None" else tuple(int(value[i:i + 2], 16) for i in (1, 3, 5))
    return [[palette[c] for c in row] for row in rows[1 + ncolors:1 + ncolors + height]]


def write_png(path, pixels, size):
    source = len(pixels)
    raw = b""
    for y in range(size):
        raw += b"\0"
        for x in range(size):
            color = pixels[y * source // size][x * source // size]
            raw += bytes(color + (255,)) if color else b"\0\0\0\0"

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


small, large = read_xpm("key16.xpm"), read_xpm("key32.xpm")
for size in (16, 32, 48, 64, 128, 256):
    write_png(f"icons/sitewarden-{size}.png", small if size == 16 else large, size)
