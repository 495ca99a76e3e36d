#!/usr/bin/env python3
"""Draws the anchors of middle-button scrolling (28 x 28, 24-bit BMP files).

Run with Debian's /usr/bin/python3 (Pillow) from this folder. An anchor is a
light disc with a dot in the middle and an arrow head for each direction it
scrolls in: all four, left and right only, or up and down only. The window
that shows it is cut to an ellipse of the bitmap's size, so the corners
outside the disc never show.
"""
from PIL import Image, ImageDraw

SIZE = 28
C = SIZE // 2
FACE = (240, 240, 240)
INK = (0, 0, 0)


def arrow_head(d, cx, cy, direction, s=4):
    shapes = {
        "up": [(cx, cy - s), (cx - s, cy), (cx + s, cy)],
        "down": [(cx, cy + s), (cx - s, cy), (cx + s, cy)],
        "left": [(cx - s, cy), (cx, cy - s), (cx, cy + s)],
        "right": [(cx + s, cy), (cx, cy - s), (cx, cy + s)],
    }
    d.polygon(shapes[direction], fill=INK)


def anchor(directions):
    img = Image.new("RGB", (SIZE, SIZE), FACE)
    d = ImageDraw.Draw(img)
    d.ellipse([C - 2, C - 2, C + 1, C + 1], fill=INK)
    places = {"up": (C, 6), "down": (C, SIZE - 7), "left": (6, C), "right": (SIZE - 7, C)}
    for name in directions:
        arrow_head(d, *places[name], name)
    return img


ANCHORS = {
    "cx_fullscrollbitmap.bmp": ["up", "down", "left", "right"],
    "cx_horscrollbitmap.bmp": ["left", "right"],
    "cx_verscrollbitmap.bmp": ["up", "down"],
}

if __name__ == "__main__":
    for name, directions in ANCHORS.items():
        anchor(directions).save(name, "BMP")
