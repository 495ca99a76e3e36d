#!/usr/bin/python3
# Draws the painters' images: the back button (four 30 x 30 state frames:
# normal, hot, pressed, disabled), the search glyph (four 11 x 11 frames in
# the same order), the command-link arrow (two 20 x 20 frames: normal, hot)
# and the two 9 x 9 zoom glyphs, whose left-bottom colour (magenta) is their
# transparent colour; the row-indicator glyphs (8 x 9 bitmaps on white, their
# transparent colour: seven of sixteen colours given pixel by pixel, the
# in-place editing pencil in 24-bit colour); the clock face and its glass
# (130 x 130), the fixed-group indicator (22 x 16), the map pushpin
# (35 x 44, its text centred at 17, 17), the navigation bar's customization
# button (38 x 32, one colour over transparency so that it can be
# recoloured), the rating star (three 15 x 16 frames: unchecked, hover,
# checked) and the filter smart tag (an SVG on a 32 x 32 view box, its
# strokes in the grey that colour palettes replace). Strips are drawn with
# Pillow at four times the size and scaled down so that their edges are
# smooth. Run from this folder.
import math
import struct

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


# The black-and-white indicator glyphs, rows from the top; '#' black, '.'
# white (transparent).
INDICATORS = {
    "CX_ARROWBITMAP": "..#..... ..##.... ..###... ..####.. ..#####. ..####.. ..###... ..##.... ..#.....",
    "CX_EDITBITMAP": ".##.##.. ...#.... ...#.... ...#.... ...#.... ...#.... ...#.... ...#.... .##.##..",
    "CX_INSERTBITMAP": "........ ...#.... .#.#.#.. ..###... ...#.... ..###... .#.#.#.. ...#.... ........",
    "CX_MULTIDOTBITMAP": "........ ........ ...#.... ..###... ..###... ..###... ...#.... ........ ........",
    "CX_MULTIARROWBITMAP": "..#..... ..##.... ....#... ..#..#.. ..##.##. ..#..#.. ....#... ..##.... ..#.....",
    "CX_FILTERBITMAP": "........ ######## #......# #......# .#....#. ..####.. ..#..#.. ..#..#.. ..####..",
    "CX_SORTBYSUMMARYVALUE": "........ ..#####. ...###.. ....#... ........ ..#..... .###.... #####... ........",
}

# The sixteen colours of the classic palette; black is 0, white 15.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def bitmap16(name, rows):
    """A 4-bit bitmap with the classic palette, bottom row first."""
    width, height = len(rows[0]), len(rows)
    stride = ((width * 4 + 31) // 32) * 4
    data = b""
    for row in reversed(rows):
        nibbles = [0 if c == "#" else 15 for c in row]
        line = bytes((nibbles[i] << 4) | (nibbles[i + 1] if i + 1 < width else 0)
                     for i in range(0, width, 2))
        data += line + b"\0" * (stride - len(line))
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in VGA)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(data), 2835, 2835, 16, 0)
    offset = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    with open(name + ".bmp", "wb") as f:
        f.write(head + info + palette + data)


def pencil():
    """The in-place editing mark: a grey pencil from the top right down to the
    bottom left over a base line along the bottom row, on white. The box
    filter keeps the white background exactly white."""
    W, H, K = 8, 9, 8
    im = Image.new("RGB", (W * K, H * K), (255, 255, 255))
    d = ImageDraw.Draw(im)
    # body and tip
    d.line([(7.2 * K, 0.6 * K), (2.2 * K, 5.6 * K)], fill=(110, 110, 110), width=int(1.9 * K))
    d.polygon([(1.2 * K, 5.0 * K), (2.9 * K, 6.6 * K), (0.6 * K, 7.3 * K)], fill=(60, 60, 60))
    # base line
    d.rectangle([0, 8 * K, W * K - 1, H * K - 1], fill=(90, 90, 90))
    im.resize((W, H), Image.BOX).save("CX_INPLACEEDITBITMAP.bmp", "BMP")


def clock_face():
    F = 130
    im = Image.new("RGBA", (F * S, F * S), (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    c = F * S / 2
    d.ellipse([2 * S, 2 * S, (F - 2) * S - 1, (F - 2) * S - 1], fill=(252, 252, 250, 255),
              outline=(120, 120, 120, 255), width=3 * S)
    d.ellipse([8 * S, 8 * S, (F - 8) * S - 1, (F - 8) * S - 1], outline=(215, 215, 215, 255),
              width=S)
    for i in range(60):
        a = i * math.pi / 30
        outer = (F / 2 - 11) * S
        inner = outer - (9 * S if i % 5 == 0 else 4 * S)
        width = 3 * S if i % 5 == 0 else S
        d.line([(c + inner * math.cos(a), c + inner * math.sin(a)),
                (c + outer * math.cos(a), c + outer * math.sin(a))],
               fill=(70, 70, 70, 255), width=width)
    finish(im, (F, F), "CX_CLOCKFACE.png")


def clock_glass():
    F = 130
    im = Image.new("RGBA", (F * S, F * S), (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    c = F * S / 2
    # the hub over the hands, and a soft reflection on the upper half
    d.ellipse([c - 5 * S, c - 5 * S, c + 5 * S, c + 5 * S], fill=(70, 70, 70, 255))
    d.ellipse([c - 2 * S, c - 2 * S, c + 2 * S, c + 2 * S], fill=(200, 200, 200, 255))
    glare = Image.new("RGBA", im.size, (0, 0, 0, 0))
    g = ImageDraw.Draw(glare)
    g.ellipse([14 * S, 10 * S, (F - 14) * S, (F / 2 + 4) * S], fill=(255, 255, 255, 60))
    im = Image.alpha_composite(glare, im)
    finish(im, (F, F), "CX_CLOCKGLASS.png")


def fixed_group_indicator():
    W, H = 22, 16
    im = Image.new("RGBA", (W * S, H * S), (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    ink = (85, 85, 85, 255)
    # a pin lying on its side, its needle to the left
    d.rectangle([13 * S, 3 * S, 15 * S, 13 * S - 1], fill=ink)
    d.rectangle([15 * S, 5 * S, 20 * S, 11 * S - 1], fill=ink)
    d.rectangle([20 * S, 4 * S, 21 * S, 12 * S - 1], fill=ink)
    d.rectangle([3 * S, 7.5 * S, 13 * S, 8.5 * S], fill=ink)
    finish(im, (W, H), "CX_FIXEDGROUPINDICATOR.png")


def map_pushpin():
    W, H = 35, 44
    im = Image.new("RGBA", (W * S, H * S), (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    cx, cy, r = 17.5 * S, 17.5 * S, 14 * S
    # shadow, drop, white disc where the text goes
    d.ellipse([cx - 8 * S, 40 * S, cx + 8 * S, 43 * S], fill=(0, 0, 0, 60))
    d.polygon([(cx - 9 * S, cy + 11 * S), (cx + 9 * S, cy + 11 * S), (cx, 41 * S)],
              fill=(205, 45, 40, 255))
    d.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(205, 45, 40, 255),
              outline=(150, 25, 20, 255), width=S)
    d.ellipse([cx - 9 * S, cy - 9 * S, cx + 9 * S, cy + 9 * S], fill=(255, 255, 255, 255))
    finish(im, (W, H), "DX_MAPPUSHPIN.png")


def navigation_bar_customization_button():
    W, H = 38, 32
    im = Image.new("RGBA", (W * S, H * S), (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    for i in range(3):
        x = (11 + 8 * i) * S
        d.ellipse([x, 14 * S, x + 4 * S, 18 * S], fill=(86, 86, 86, 255))
    finish(im, (W, H), "DX_NAVIGATIONBARCUSTOMIZATIONBUTTON.png")


def rating_indicator():
    F, G = 15, 16
    im = Image.new("RGBA", (F * S, G * S * 3), (0, 0, 0, 0))
    d = ImageDraw.Draw(im)
    # unchecked, hover, checked
    looks = [((240, 240, 240, 255), (150, 150, 150, 255)),
             ((255, 236, 170, 255), (225, 170, 40, 255)),
             ((255, 200, 40, 255), (200, 140, 20, 255))]
    for i, (fill, outline) in enumerate(looks):
        cx, cy = F * S / 2, i * G * S + G * S / 2 + 0.5 * S
        points = []
        for k in range(10):
            a = -math.pi / 2 + k * math.pi / 5
            rad = (7 if k % 2 == 0 else 3) * S
            points.append((cx + rad * math.cos(a), cy + rad * math.sin(a)))
        d.polygon(points, fill=fill, outline=outline)
        d.line(points + [points[0]], fill=outline, width=S)
    finish(im, (F, G * 3), "CX_RATINGCONTROLINDICATOR.png")


def smart_tag():
    grey = "#727272"
    svg = (
        '<?xml version="1.0" encoding="UTF-8"?>\n'
        '<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">\n'
        '  <rect x="1.812" y="1.881" width="28.239" height="28.171" fill="none" '
        'stroke="' + grey + '" stroke-width="1.5"/>\n'
        '  <polygon points="24.462,7.163 24.462,8.631 16.823,15.234 16.367,24.759 14.924,24.771 '
        '14.661,15.29 6.854,8.631 6.854,7.163" fill="none" stroke="' + grey + '" '
        'stroke-width="1.5"/>\n'
        '</svg>\n')
    with open("CX_SMARTTAG.svg", "w") as f:
        f.write(svg)


back_button()
search_glyph()
command_link_glyph()
zoom_glyph("CX_ZOOMINBUTTONGLYPH.bmp", True)
zoom_glyph("CX_ZOOMOUTBUTTONGLYPH.bmp", False)
for name, rows in INDICATORS.items():
    bitmap16(name, rows.split())
pencil()
clock_face()
clock_glass()
fixed_group_indicator()
map_pushpin()
navigation_bar_customization_button()
rating_indicator()
smart_tag()
