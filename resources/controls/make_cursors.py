#!/usr/bin/env python3
"""Draws the control layer's cursors (32 x 32, black and white) as .cur files.

Run with Debian's /usr/bin/python3 (Pillow) from this folder. Each cursor is
a drawing of its role: the pointer with a sign for drag and drop, a dot with
arrows for the scroll cursors, bars with arrows for sizing, a hand.
"""
import struct
from PIL import Image, ImageDraw

SIZE = 32
ARROW = [(0, 0), (0, 16), (4, 12), (7, 19), (9, 18), (6, 11), (11, 11)]


def new():
    # 0: transparent, 1: black, 2: white
    img = Image.new("L", (SIZE, SIZE), 0)
    return img, ImageDraw.Draw(img)


def pointer(d):
    d.polygon(ARROW, fill=1, outline=2)


def box(d, x, y, w=9, h=9):
    d.rectangle([x, y, x + w, y + h], fill=2, outline=1)


def plus(d, x, y):
    d.rectangle([x + 2, y + 4, x + 7, y + 5], fill=1)
    d.rectangle([x + 4, y + 2, x + 5, y + 7], fill=1)


def cross(d, x, y):
    d.line([x + 2, y + 2, x + 7, y + 7], fill=1, width=2)
    d.line([x + 7, y + 2, x + 2, y + 7], fill=1, width=2)


def page(d, x, y):
    d.rectangle([x, y, x + 8, y + 10], fill=2, outline=1)


def arrow_head(d, cx, cy, direction, size=5):
    s = size
    shapes = {
        "up": [(cx, cy - s), (cx - s, cy), (cx + s, cy)],
        "down": [(cx, cy + s), (cx - s, cy), (cx + s, cy)],
        "left": [(cx - s, cy), (cx, cy - s), (cx, cy + s)],
        "right": [(cx + s, cy), (cx, cy - s), (cx, cy + s)],
    }
    d.polygon(shapes[direction], fill=1, outline=2)


def scroll(directions):
    def draw(d):
        d.ellipse([12, 12, 19, 19], fill=2, outline=1)
        d.ellipse([14, 14, 17, 17], fill=1)
        places = {"up": (16, 7), "down": (16, 25), "left": (7, 16), "right": (25, 16)}
        for name in directions:
            arrow_head(d, *places[name], name)
    return draw, (16, 16)


def size_bars(vertical):
    def draw(d):
        if vertical:
            d.rectangle([4, 14, 27, 17], fill=1, outline=2)
            arrow_head(d, 16, 6, "up")
            arrow_head(d, 16, 25, "down")
            d.rectangle([15, 6, 16, 13], fill=1)
            d.rectangle([15, 18, 16, 25], fill=1)
        else:
            d.rectangle([14, 4, 17, 27], fill=1, outline=2)
            arrow_head(d, 6, 16, "left")
            arrow_head(d, 25, 16, "right")
            d.rectangle([6, 15, 13, 16], fill=1)
            d.rectangle([18, 15, 25, 16], fill=1)
    return draw, (16, 16)


def with_pointer(*extras):
    def draw(d):
        pointer(d)
        for e in extras:
            e(d)
    return draw, (0, 0)


def hand(closed):
    def draw(d):
        fingers = 3 if closed else 4
        if not closed:
            d.rectangle([9, 2, 12, 16], fill=2, outline=1)
        for i in range(fingers):
            x = 13 + 4 * i
            top = 8 if closed else 6 + (i % 2) * 2
            d.rectangle([x, top, x + 3, 18], fill=2, outline=1)
        d.rectangle([9, 14, 28, 27], fill=2, outline=1)
    return draw, (11, 2)


def no_drop(d):
    d.ellipse([10, 10, 27, 27], fill=2, outline=1)
    d.ellipse([13, 13, 24, 24], fill=2, outline=1)
    d.line([13, 24, 24, 13], fill=1, width=3)


def color_picker(d):
    d.line([2, 29, 14, 17], fill=1, width=3)
    d.polygon([(14, 13), (18, 17), (28, 7), (24, 3)], fill=1, outline=2)


def insert_mark(where):
    def mark(d):
        y = {"after": 26, "before": 12, "inside": 19}[where]
        if where == "inside":
            d.rectangle([12, 14, 28, 24], fill=2, outline=1)
            d.rectangle([16, 18, 24, 20], fill=1)
        else:
            d.rectangle([12, y, 28, y + 2], fill=1, outline=2)
            arrow_head(d, 20, y - 4 if where == "after" else y + 7, "down" if where == "after" else "up", 3)
    return mark


CURSORS = {
    "CX_DRAGCOPYCURSOR": with_pointer(lambda d: box(d, 14, 20), lambda d: plus(d, 14, 20)),
    "CX_FULLSCROLLCURSOR": scroll(["up", "down", "left", "right"]),
    "CX_HORSCROLLCURSOR": scroll(["left", "right"]),
    "CX_VERSCROLLCURSOR": scroll(["up", "down"]),
    "CX_UPSCROLLCURSOR": scroll(["up"]),
    "CX_RIGHTSCROLLCURSOR": scroll(["right"]),
    "CX_DOWNSCROLLCURSOR": scroll(["down"]),
    "CX_LEFTSCROLLCURSOR": scroll(["left"]),
    "CX_REMOVECURSOR": with_pointer(lambda d: box(d, 14, 20), lambda d: cross(d, 14, 20)),
    "CX_VERTSIZECURSOR": size_bars(True),
    "CX_HORZSIZECURSOR": size_bars(False),
    "CX_MULTIDRAGCURSOR": with_pointer(lambda d: page(d, 16, 18), lambda d: page(d, 19, 21)),
    "CX_NODROPCURSOR": with_pointer(no_drop),
    "CX_DRAGCURSOR": with_pointer(lambda d: page(d, 16, 20)),
    "CX_COLORPICKERCURSOR": (color_picker, (2, 29)),
    "CX_MULTIDRAGCOPYCURSOR": with_pointer(lambda d: page(d, 14, 16), lambda d: page(d, 17, 19),
                                           lambda d: box(d, 21, 22), lambda d: plus(d, 21, 22)),
    "CX_HANDCURSOR": hand(False),
    "CX_HANDDRAGCURSOR": hand(True),
    "DXLAYOUTCONTROLNODROP": with_pointer(no_drop),
    "DXLAYOUTCONTROLREMOVE": with_pointer(lambda d: cross(d, 16, 18)),
    "DXLAYOUTCONTROLDROPAFTER": with_pointer(insert_mark("after")),
    "DXLAYOUTCONTROLDROPBEFORE": with_pointer(insert_mark("before")),
    "DXLAYOUTCONTROLDROPINSIDE": with_pointer(insert_mark("inside")),
    "CXDROPAFTERCOPY": with_pointer(insert_mark("after"), lambda d: plus(d, 0, 20)),
    "CXDROPBEFORECOPY": with_pointer(insert_mark("before"), lambda d: plus(d, 0, 20)),
    "CXDROPINSIDECOPY": with_pointer(insert_mark("inside"), lambda d: plus(d, 0, 20)),
}


def cur_bytes(img, hotspot):
    # Rows bottom-up, 1 bit per pixel, each row padded to 32 bits.
    xor_rows, and_rows = [], []
    for y in range(SIZE - 1, -1, -1):
        xor_bits = and_bits = 0
        for x in range(SIZE):
            v = img.getpixel((x, y))
            bit = 1 << (31 - x)
            if v == 0:
                and_bits |= bit
            elif v == 2:
                xor_bits |= bit
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<II", 0x000000, 0xFFFFFF)
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 22)
    return directory + entry + image


def main():
    lines = []
    for name, (draw, hotspot) in CURSORS.items():
        img, d = new()
        draw(d)
        with open(name.lower() + ".cur", "wb") as f:
            f.write(cur_bytes(img, hotspot))
        lines.append(name)
    print("\n".join(lines))


if __name__ == "__main__":
    main()
