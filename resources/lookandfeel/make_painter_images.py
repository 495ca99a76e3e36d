#!/usr/bin/python3
# Draws the painters' images: the back button (four 30 x 30 state frames:
# normal, hot, pressed, disabled), the search glyph (four 11 x 11 frames in
# the same order), the command-link arrow (two 20 x 20 frames: normal, hot)
# and the two 9 x 9 zoom glyphs, whose left-bottom colour (magenta) is their
# transparent colour. Strips are drawn with Pillow at four times the size and
# scaled down so that their edges are smooth. Run from this folder.
from PIL import Image, ImageDraw

S = 4  # drawing scale


def strip(frame, count):
    return Image.new("RGBA", (frame * S, frame * S * count), (0, 0, 0, 0))


def finish(im, size, name):
    im.resize(size, Image.LANCZOS).save(name, optimize=True)


def back_button():
    F = 30
    im = strip(F, 4)
    d = ImageDraw.Draw(im)
    # (ring, fill, arrow) per state
    states = [
        ((110, 110, 110, 255), None, (70, 70, 70, 255)),
        ((40, 110, 200, 255), (205, 228, 250, 255), (30, 90, 170, 255)),
        ((25, 80, 160, 255), (60, 120, 200, 255), (255, 255, 255, 255)),
        ((190, 190, 190, 255), None, (190, 190, 190, 255)),
    ]
    for i, (ring, fill, arrow) in enumerate(states):
        top = i * F * S
        box = [2 * S, top + 2 * S, (F - 2) * S - 1, top + (F - 2) * S - 1]
        d.ellipse(box, fill=fill, outline=ring, width=2 * S)
        cy = top + F * S // 2
        # shaft and head of an arrow pointing left
        d.rectangle([10 * S, cy - S, 21 * S, cy + S], fill=arrow)
        d.polygon([(8 * S, cy), (15 * S, cy - 6 * S), (15 * S, cy + 6 * S)], fill=arrow)
    finish(im, (F, F * 4), "CX_BACKBUTTON.png")


def search_glyph():
    F = 11
    im = strip(F, 4)
    d = ImageDraw.Draw(im)
    colors = [(90, 90, 90, 255), (40, 100, 200, 255), (20, 60, 140, 255), (175, 175, 175, 255)]
    for i, c in enumerate(colors):
        top = i * F * S
        d.ellipse([1 * S, top + 1 * S, 8 * S - 1, top + 8 * S - 1], outline=c, width=int(1.5 * S))
        d.line([(6.5 * S, top + 6.5 * S), (10 * S, top + 10 * S)], fill=c, width=2 * S)
    finish(im, (F, F * 4), "DX_SEARCHBUTTONGLYPH.png")


def command_link_glyph():
    F = 20
    im = strip(F, 2)
    d = ImageDraw.Draw(im)
    for i, (c, halo) in enumerate([((40, 130, 60, 255), None),
                                   ((50, 165, 75, 255), (220, 240, 225, 255))]):
        top = i * F * S
        if halo:
            d.ellipse([1 * S, top + 1 * S, 19 * S - 1, top + 19 * S - 1], fill=halo)
        cy = top + F * S // 2
        d.rectangle([4 * S, cy - int(1.5 * S), 11 * S, cy + int(1.5 * S)], fill=c)
        d.polygon([(16 * S, cy), (10 * S, cy - 6 * S), (10 * S, cy + 6 * S)], fill=c)
    finish(im, (F, F * 2), "CX_COMMANDLINKGLYPH.png")


def zoom_glyph(name, vertical):
    # Pixel art: no smoothing, so that the key colour stays exact.
    key, ink = (255, 0, 255), (64, 64, 64)
    im = Image.new("RGB", (9, 9), key)
    d = ImageDraw.Draw(im)
    d.rectangle([1, 3, 7, 5], fill=ink)
    if vertical:
        d.rectangle([3, 1, 5, 7], fill=ink)
    im.save(name, "BMP")


back_button()
search_glyph()
command_link_glyph()
zoom_glyph("CX_ZOOMINBUTTONGLYPH.bmp", True)
zoom_glyph("CX_ZOOMOUTBUTTONGLYPH.bmp", False)
