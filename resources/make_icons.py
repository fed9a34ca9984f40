#!/usr/bin/env python3
"""Draws Quillet's icons and writes them as .ico files beside this script.

abc.ico     the program's icon: a tilted blue film frame, 16 to 128 pixels, 32 bits with alpha
window.ico  a plain white window with a light-blue title bar, in the old 2- and 16-colour formats

Run it again only to change the pictures; the .ico files are committed.
"""
import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# Colours as (red, green, blue).
FILM = (22, 64, 150)
FILM_EDGE = (12, 38, 98)
PICTURE_TOP = (120, 190, 255)
PICTURE_BOTTOM = (48, 130, 230)
HOLE = (235, 243, 255)


def film_frame_colour(x, y):
    """The colour at (x, y) in [-1, 1]^2, or None where the icon is transparent."""
    angle = math.radians(-14)
    u = x * math.cos(angle) - y * math.sin(angle)
    v = x * math.sin(angle) + y * math.cos(angle)
    half_w, half_h, radius = 0.80, 0.58, 0.10
    dx = max(abs(u) - (half_w - radius), 0.0)
    dy = max(abs(v) - (half_h - radius), 0.0)
    if math.hypot(dx, dy) > radius:
        return None
    if math.hypot(dx, dy) > radius - 0.05 and (dx > 0 or dy > 0) or abs(u) > half_w - 0.05 or abs(v) > half_h - 0.05:
        return FILM_EDGE
    if abs(u) <= 0.62 and abs(v) <= 0.32:
        t = (v + 0.32) / 0.64
        return tuple(round(a + (b - a) * t) for a, b in zip(PICTURE_TOP, PICTURE_BOTTOM))
    if 0.39 <= abs(v) <= 0.51:
        slot = (u + 0.70) / 0.20
        if -0.70 <= u <= 0.70 and slot - math.floor(slot) < 0.55:
            return HOLE
    return FILM


def render_rgba(size, shade, samples=4):
    """Rows of (r, g, b, a), top row first, each pixel averaged over samples x samples points."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = covered = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = ((px + (sx + 0.5) / samples) / size) * 2 - 1
                    y = ((py + (sy + 0.5) / samples) / size) * 2 - 1
                    colour = shade(x, y)
                    if colour:
                        r, g, b, covered = r + colour[0], g + colour[1], b + colour[2], covered + 1
            if covered:
                row.append((r // covered, g // covered, b // covered, round(255 * covered / samples ** 2)))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def and_mask(size, transparent):
    """The 1-bit mask rows, bottom row first, padded to 32 bits: 1 where the icon is transparent."""
    stride = ((size + 31) // 32) * 4
    data = b""
    for y in reversed(range(size)):
        bits = bytearray(stride)
        for x in range(size):
            if transparent(x, y):
                bits[x // 8] |= 0x80 >> (x % 8)
        data += bytes(bits)
    return data


def bitmap_header(size, bits, colours=0):
    return struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, bits, 0, 0, 0, 0, colours, 0)


def bmp_32(rows):
    size = len(rows)
    pixels = b"".join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    return bitmap_header(size, 32) + pixels + and_mask(size, lambda x, y: rows[y][x][3] == 0)


def png_32(rows):
    size = len(rows)
    raw = b"".join(b"\x00" + b"".join(bytes(p) for p in row) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")


def bmp_indexed(indices, palette, bits):
    """An indexed image: indices are rows of palette positions, None for transparent."""
    size = len(indices)
    stride = ((size * bits + 31) // 32) * 4
    data = b""
    for row in reversed(indices):
        packed = bytearray(stride)
        for x, index in enumerate(row):
            value = index or 0
            bit = x * bits
            packed[bit // 8] |= value << (8 - bits - bit % 8)
        data += bytes(packed)
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    mask = and_mask(size, lambda x, y: indices[y][x] is None)
    return bitmap_header(size, bits, len(palette)) + table + data + mask


def write_ico(path, images):
    """images: (width, colour count byte, bits per pixel, encoded image)."""
    header = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    directory = b""
    body = b""
    for size, colour_count, bits, data in images:
        dimension = 0 if size >= 256 else size
        directory += struct.pack("<BBBBHHII", dimension, dimension, colour_count, 0, 1, bits, len(data), offset)
        offset += len(data)
        body += data
    with open(path, "wb") as out:
        out.write(header + directory + body)


def window_indices(size, white, title, edge):
    """A window seen from the front: edge-coloured frame, a title bar, white inside."""
    bar = max(3, size // 5)
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            if y < 1 or y >= size - 1 or x < 1 or x >= size - 1:
                row.append(None)
            elif y == 1 or y == size - 2 or x == 1 or x == size - 2:
                row.append(edge)
            elif y < 1 + bar:
                row.append(title)
            else:
                row.append(white)
        rows.append(row)
    return rows


VGA_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255),
    (255, 255, 255),
]


def main():
    film = []
    for size in (16, 32, 48, 64, 128):
        rows = render_rgba(size, film_frame_colour)
        film.append((size, 0, 32, png_32(rows) if size >= 128 else bmp_32(rows)))
    write_ico(os.path.join(HERE, "abc.ico"), film)

    white, aqua, black, navy = 15, 14, 0, 4
    write_ico(os.path.join(HERE, "window.ico"), [
        (32, 2, 1, bmp_indexed(window_indices(32, 1, 0, 0), [(0, 0, 0), (255, 255, 255)], 1)),
        (32, 16, 4, bmp_indexed(window_indices(32, white, aqua, navy), VGA_PALETTE, 4)),
        (16, 16, 4, bmp_indexed(window_indices(16, white, aqua, navy), VGA_PALETTE, 4)),
    ])


if __name__ == "__main__":
    main()
