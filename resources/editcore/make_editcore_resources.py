#!/usr/bin/env python3
"""Draws the editor layer's cursor and validation glyphs."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def write_bmp(path, pixels):
    """pixels: rows top to bottom of (r, g, b); written as a 24-bit bitmap."""
    h, w = len(pixels), len(pixels[0])
    stride = (w * 3 + 3) & ~3
    data = b""
    for row in reversed(pixels):
        line = b"".join(bytes((b, g, r)) for r, g, b in row)
        data += line + b"\0" * (stride - len(line))
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(header) + len(data), 0, 0, 54))
        f.write(header + data)


def glyph(inside, mark, back=(255, 0, 255)):
    rows = []
    for y in range(16):
        row = []
        for x in range(16):
            if mark(x, y):
                row.append(mark(x, y))
            elif inside(x, y):
                row.append(inside(x, y))
            else:
                row.append(back)
        rows.append(row)
    return rows


def circle(colour):
    return lambda x, y: colour if (x - 7.5) ** 2 + (y - 7.5) ** 2 <= 56 else None


def error_mark(x, y):
    d = abs((x - 7.5) - (y - 7.5)) <= 1 or abs((x - 7.5) + (y - 7.5)) <= 1
    return (255, 255, 255) if d and 4 <= x <= 11 and 4 <= y <= 11 else None


def warning_inside(x, y):
    half = (y - 1) / 2 + 0.5
    return (240, 190, 0) if 1 <= y <= 14 and abs(x - 7.5) <= half else None


def warning_mark(x, y):
    return (0, 0, 0) if x in (7, 8) and (4 <= y <= 9 or 11 <= y <= 12) else None


def info_mark(x, y):
    return (255, 255, 255) if x in (7, 8) and (3 <= y <= 4 or 6 <= y <= 12) else None


def write_cursor(path):
    """A 32x32 monochrome cursor: a ring with arrows up and down."""
    size = 32
    black = [[False] * size for _ in range(size)]
    opaque = [[False] * size for _ in range(size)]
    cx = cy = 15.5
    for y in range(size):
        for x in range(size):
            r2 = (x - cx) ** 2 + (y - cy) ** 2
            if r2 <= 4:
                black[y][x] = opaque[y][x] = True
            elif r2 <= 9:
                opaque[y][x] = True
            dy = abs(y - cy)
            if 6 <= dy <= 13 and abs(x - cx) <= (dy - 6) / 1.5 + 0.5 and dy <= 12:
                black[y][x] = True
            if 5 <= dy <= 14 and abs(x - cx) <= (dy - 5) / 1.5 + 1.5:
                opaque[y][x] = True
    xor = b""
    andm = b""
    for y in reversed(range(size)):
        xb = 0
        ab = 0
        for x in range(size):
            xb = (xb << 1) | (0 if black[y][x] or not opaque[y][x] else 1)
            ab = (ab << 1) | (0 if opaque[y][x] else 1)
        xor += struct.pack(">I", xb)
        andm += struct.pack(">I", ab)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = header + palette + xor + andm
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 2, 1))
        f.write(struct.pack("<BBBBHHII", size, size, 2, 0, 15, 15, len(image), 22))
        f.write(image)


write_bmp(os.path.join(HERE, "cxedit_glyph_error.bmp"),
          glyph(circle((220, 30, 30)), error_mark))
write_bmp(os.path.join(HERE, "cxedit_glyph_warning.bmp"), glyph(warning_inside, warning_mark))
write_bmp(os.path.join(HERE, "cxedit_glyph_info.bmp"), glyph(circle((30, 100, 220)), info_mark))
write_cursor(os.path.join(HERE, "cxedit_mousewheel.cur"))
