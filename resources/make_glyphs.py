#!/usr/bin/python3
# Draws the main window's three 16 x 16 button glyphs (recalculate, input
# folder, output folder) with Pillow at four times the size, then scales them
# down so that their edges are smooth. Run from this folder.
from PIL import Image, ImageDraw

S = 4  # drawing scale


def canvas():
    return Image.new("RGBA", (16 * S, 16 * S), (0, 0, 0, 0))


def finish(im, name):
    im.resize((16, 16), Image.LANCZOS).save(name, optimize=True)


def folder(d, body, front):
    d.rounded_rectangle([1 * S, 3 * S, 8 * S, 6 * S], radius=S, fill=body)
    d.rounded_rectangle([1 * S, 4 * S, 15 * S - 1, 14 * S - 1], radius=S, fill=body)
    d.rounded_rectangle([1 * S, 6 * S, 15 * S - 1, 14 * S - 1], radius=S, fill=front)


def arrow(d, x0, y, x1, color):
    # A horizontal arrow from x0 to x1 (pointing at x1).
    d.rectangle([min(x0, x1 - S * 2), y - S, max(x0, x1 - S * 2), y + S], fill=color)
    sign = 1 if x1 > x0 else -1
    tip = x1
    base = x1 - sign * 4 * S
    d.polygon([(tip, y), (base, y - 3 * S), (base, y + 3 * S)], fill=color)


def recalc():
    im = canvas()
    d = ImageDraw.Draw(im)
    green, blue = (38, 150, 60, 255), (40, 100, 200, 255)
    d.arc([2 * S, 2 * S, 14 * S, 14 * S], 200, 350, fill=green, width=2 * S)
    d.polygon([(14 * S, 4 * S), (15 * S, 9 * S), (10 * S, 8 * S)], fill=green)
    d.arc([2 * S, 2 * S, 14 * S, 14 * S], 20, 170, fill=blue, width=2 * S)
    d.polygon([(2 * S, 12 * S), (1 * S, 7 * S), (6 * S, 8 * S)], fill=blue)
    finish(im, "GlyphRecalc.png")


def input_folder():
    im = canvas()
    d = ImageDraw.Draw(im)
    folder(d, (214, 160, 40, 255), (245, 200, 80, 255))
    arrow(d, 15 * S, 10 * S, 6 * S, (38, 150, 60, 255))
    finish(im, "GlyphInputFolder.png")


def output_folder():
    im = canvas()
    d = ImageDraw.Draw(im)
    folder(d, (214, 160, 40, 255), (245, 200, 80, 255))
    arrow(d, 4 * S, 10 * S, 15 * S, (40, 100, 200, 255))
    finish(im, "GlyphOutputFolder.png")


recalc()
input_folder()
output_folder()
