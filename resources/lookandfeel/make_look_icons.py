#!/usr/bin/python3
# Draws the icons of the built-in looks (16 and 48 pixels: a small window
# drawn the way each look draws a button) and the default icons of skins (a
# palette with three colour wells), at four times the size, then scales them
# down. Run from this folder (resources/lookandfeel).
from PIL import Image, ImageDraw

S = 4  # drawing scale
GRID = 48  # the design grid; the 16-pixel icons are the same drawing


def canvas():
    return Image.new("RGBA", (GRID * S, GRID * S), (0, 0, 0, 0))


def box(x0, y0, x1, y1):
    return [x0 * S, y0 * S, x1 * S - 1, y1 * S - 1]


def window(d, face, frame, title):
    d.rectangle(box(2, 4, 46, 44), fill=face, outline=frame, width=2 * S)
    d.rectangle(box(2, 4, 46, 13), fill=title, outline=frame, width=2 * S)


def button_standard(d):
    d.rectangle(box(10, 22, 38, 36), fill=(212, 208, 200))
    d.line([10 * S, 22 * S, 38 * S, 22 * S], fill=(255, 255, 255), width=2 * S)
    d.line([10 * S, 22 * S, 10 * S, 36 * S], fill=(255, 255, 255), width=2 * S)
    d.line([10 * S, 36 * S, 38 * S, 36 * S], fill=(64, 64, 64), width=2 * S)
    d.line([38 * S, 22 * S, 38 * S, 36 * S], fill=(64, 64, 64), width=2 * S)


def button_flat(d):
    d.rectangle(box(10, 22, 38, 36), fill=(212, 208, 200), outline=(128, 128, 128), width=2 * S)


def button_ultraflat(d):
    d.rectangle(box(10, 22, 38, 36), fill=(255, 255, 255), outline=(49, 106, 197), width=2 * S)


def button_office11(d):
    for i in range(14 * S):
        t = i / (14 * S)
        c = (int(255 - 40 * t), int(244 - 50 * t), int(204 - 90 * t))
        d.line([10 * S, 22 * S + i, 38 * S - 1, 22 * S + i], fill=c)
    d.rectangle(box(10, 22, 38, 36), outline=(0, 45, 150), width=2 * S)


def button_native(d):
    d.rounded_rectangle(box(10, 22, 38, 36), radius=3 * S, fill=(236, 240, 248),
                        outline=(112, 112, 112), width=2 * S)
    d.rounded_rectangle(box(12, 24, 36, 29), radius=2 * S, fill=(252, 252, 255))


LOOKS = {
    "STANDARD": ((212, 208, 200), (64, 64, 64), (10, 36, 106), button_standard),
    "FLAT": ((212, 208, 200), (128, 128, 128), (128, 128, 128), button_flat),
    "ULTRAFLAT": ((255, 255, 255), (49, 106, 197), (49, 106, 197), button_ultraflat),
    "OFFICE11": ((227, 239, 255), (0, 45, 150), (89, 135, 214), button_office11),
    "NATIVE": ((240, 240, 240), (112, 112, 112), (153, 180, 209), button_native),
}


def save(im, name):
    im.resize((48, 48), Image.LANCZOS).save(name + "48.png", optimize=True)
    im.resize((16, 16), Image.LANCZOS).save(name + "16.png", optimize=True)


for look, (face, frame, title, button) in LOOKS.items():
    im = canvas()
    d = ImageDraw.Draw(im)
    window(d, face, frame, title)
    button(d)
    save(im, "LookAndFeelStyleIcon" + look.capitalize())

# The default skin icon: an artist's palette with three wells.
im = canvas()
d = ImageDraw.Draw(im)
d.ellipse(box(3, 6, 45, 42), fill=(222, 184, 135), outline=(120, 80, 40), width=2 * S)
d.ellipse(box(26, 24, 36, 34), fill=(0, 0, 0, 0))
for (x, y), c in zip([(9, 14), (19, 10), (30, 12)], [(220, 40, 40), (40, 160, 60), (40, 90, 220)]):
    d.ellipse(box(x, y, x + 8, y + 8), fill=c)
im.resize((48, 48), Image.LANCZOS).save("DefaultSkinIconLarge.png", optimize=True)
im.resize((16, 16), Image.LANCZOS).save("DefaultSkinIconSmall.png", optimize=True)
