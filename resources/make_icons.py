#!/usr/bin/env python3
"""Draws Radixpad's icon (resource 128) as PNG files of several sizes.

The window icon's sizes are also written as 32-bit BMP files with alpha for the
program's resources: Qt's built-in reader takes those without libpng, which the
start-up would otherwise touch for the icon alone. The resource compiler packs
them with zlib (6 KiB for all seven sizes).

The icon is a rounded blue tile with four white rows of different lengths,
the four bases of one value. Run it again after changing the artwork:
    python3 resources/make_icons.py resources/icons
"""
import os
import struct
import sys
import zlib

ROWS = [0.80, 0.45, 0.62, 0.30]  # row lengths, as a share of the inner width


def coverage(x, y, size):
    """Colour of point (x, y) in a unit square: (r, g, b, a) in 0..1."""
    r = 0.18  # corner radius
    cx = min(max(x, r), 1 - r)
    cy = min(max(y, r), 1 - r)
    if (x - cx) ** 2 + (y - cy) ** 2 > r * r:
        return (0, 0, 0, 0)
    # Rows: a gap of white bars with a small bit marker on the left.
    top, bottom, left = 0.18, 0.86, 0.18
    pitch = (bottom - top) / len(ROWS)
    for i, length in enumerate(ROWS):
        y0 = top + i * pitch + pitch * 0.22
        y1 = top + (i + 1) * pitch - pitch * 0.22
        if y0 <= y <= y1:
            if left <= x <= left + 0.10:
                return (1.0, 0.78, 0.25, 1)  # amber marker
            if left + 0.16 <= x <= left + 0.16 + length * 0.64:
                return (1, 1, 1, 1)
    shade = 0.85 + 0.15 * (1 - y)
    return (0.11 * shade, 0.35 * shade, 0.72 * shade, 1)


def pixels(size, samples=4):
    """Rows of straight-alpha RGBA bytes, top row first."""
    rows = []
    for py in range(size):
        row = bytearray()
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    c = coverage((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size, size)
                    for k in range(3):
                        acc[k] += c[k] * c[3]
                    acc[3] += c[3]
            n = samples * samples
            a = acc[3] / n
            rgb = [int(round(255 * acc[k] / acc[3])) if acc[3] else 0 for k in range(3)]
            row += bytes(rgb + [int(round(255 * a))])
        rows.append(bytes(row))
    return rows


def render(size, samples=4):
    raw = zlib.compress(b"".join(b"\0" + row for row in pixels(size, samples)), 9)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", raw) + chunk(b"IEND", b""))


def render_bmp(size, samples=4):
    """A BMP with a version 4 header: 32 bits per pixel, BGRA, alpha mask, rows bottom up."""
    body = b"".join(bytes(row[i + k] for i in range(0, len(row), 4) for k in (2, 1, 0, 3))
                    for row in reversed(pixels(size, samples)))
    header = struct.pack("<IiiHHIIiiII", 108, size, size, 1, 32, 3, len(body), 2835, 2835, 0, 0)
    header += struct.pack("<IIIII", 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000, 0x73524742) + bytes(48)
    offset = 14 + len(header)
    return b"BM" + struct.pack("<IHHI", offset + len(body), 0, 0, offset) + header + body


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "icons"
    os.makedirs(out, exist_ok=True)
    for size in (16, 24, 32, 48, 64, 128, 256):
        with open(os.path.join(out, f"radixpad-{size}.png"), "wb") as f:
            f.write(render(size, 4 if size <= 64 else 2))
    for size in (16, 24, 32, 48, 64, 128, 256):
        with open(os.path.join(out, f"radixpad-{size}.bmp"), "wb") as f:
            f.write(render_bmp(size))


if __name__ == "__main__":
    main()
