#!/usr/bin/python3
"""Writes skin streams and a skin container with struct alone, from the
format's tables (field order, encodings and version thresholds), as a reader
independent of the program's own writer. Pillow only makes the pictures.

Run from this folder: writes fixtures/skin_v<version>.bin for every version
the reader must accept, skin_jpeg.bin (a JPEG texture and a GIF glyph) and
skin_container.bin (three skins)."""
import io
import os
import struct

from PIL import Image

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures")

CL_NONE = 0x1FFFFFFF
CL_DEFAULT = 0x20000000
UNRESOLVED = 0x1FFFFFFE  # a colour that names a palette colour


def png(size, frames):
    """A strip of solid frames (RGBA) laid left to right."""
    w, h = size
    im = Image.new("RGBA", (w * len(frames), h))
    for i, c in enumerate(frames):
        im.paste(Image.new("RGBA", (w, h), c), (i * w, 0))
    b = io.BytesIO()
    im.save(b, "PNG")
    return b.getvalue()


def jpeg():
    im = Image.new("RGB", (48, 16))
    for x in range(48):
        for y in range(16):
            im.putpixel((x, y), (x * 5, y * 15, 255 - x * 5))
    b = io.BytesIO()
    im.save(b, "JPEG", quality=90)
    return b.getvalue()


def gif():
    im = Image.new("P", (8, 8))
    im.putpalette([255, 0, 0, 0, 0, 255] + [0] * 762)
    for x in range(8):
        for y in range(8):
            im.putpixel((x, y), (x + y) % 2)
    b = io.BytesIO()
    im.save(b, "GIF")
    return b.getvalue()


ICON16 = png((16, 16), [(200, 40, 40, 255)])
ICON48 = png((48, 48), [(40, 40, 200, 255)])
TEXTURE = png((16, 16), [(255, 0, 0, 255), (0, 255, 0, 255), (0, 0, 255, 255),
                         (255, 255, 0, 255), (0, 255, 255, 255), (255, 0, 255, 255)])


class Writer:
    def __init__(self, version):
        self.v = round(version * 100)  # thresholds compare hundredths
        self.version = version
        self.b = bytearray()

    def i32(self, n):
        self.b += struct.pack("<i", n)

    def u8(self, n):
        self.b += struct.pack("<B", n)

    def u16(self, n):
        self.b += struct.pack("<H", n)

    def string(self, s):
        data = s.encode("utf-8")
        self.i32(len(data))
        self.b += data

    def wide(self, s):
        data = s.encode("utf-16-le")
        self.i32(len(data) // 2)
        self.b += data

    def blob(self, data):
        self.i32(len(data))
        self.b += data

    def rect(self, r):
        self.b += struct.pack("<4i", *r)

    def size(self, s):
        self.b += struct.pack("<2i", *s)

    def signature(self):
        self.b += b"\0\0\0\0" + b"dxSkin" + struct.pack("<d", self.version)

    def colour(self, value, reference=""):
        if reference and self.v >= 115:
            value = UNRESOLVED
        self.i32(value)
        if self.v >= 115:
            self.string(reference)

    # property lists: (class, name, payload writer)
    def properties(self, items):
        self.i32(len(items))
        for cls, name, payload in items:
            self.string(cls)
            self.string(name)
            payload()

    def border(self, value, thin):
        if self.v <= 109:
            self.string("Color")
            self.string("Thin")
        self.colour(value)
        self.i32(thin)

    def borders(self, values):
        for value, thin in values:
            self.border(value, thin)

    def image(self, margins, count, states, texture, palettes, gradient=(CL_NONE, CL_NONE, 0),
              interpolation=0, stretch=0, layout=0):
        self.rect(margins)
        self.u8(layout)
        if self.v >= 110:
            self.i32(count)
        self.u16(states)
        self.u8(stretch)
        if self.v >= 102:
            self.colour(gradient[0])
            self.colour(gradient[1])
            self.u8(gradient[2])
        self.blob(texture)
        if self.v >= 115:
            self.properties(palettes)
        if self.v >= 124:
            self.u8(interpolation)

    def alternate(self):
        self.u8(200)
        self.u8(1)
        self.colour(0x00FF0000)
        self.colour(0x000000FF)
        self.borders([(0x00112233, 1), (CL_NONE, 1), (0x00445566, 2), (CL_NONE, 1)])
        self.borders([(CL_NONE, 1)] * 4)
        self.rect((1, 1, 1, 1))

    def element(self, texture=TEXTURE, glyph=b""):
        self.colour(0x00C0C0C0)
        self.u8(200)
        if self.v < 110:
            self.i32(2)
        self.rect((2, 3, 4, 5))
        self.image((0, 0, 0, 0), 2, 0b1, glyph, [])
        hot_palette = [("TdxSkinColorPalette", "Hot", lambda: self.properties([
            ("TdxSkinAlphaColor", "Fill", lambda: (self.colour(0x00123456), self.i32(128)))]))]
        self.image((3, 3, 3, 3), 2, 0b111, texture, hot_palette,
                   gradient=(0x00AABBCC, 0x00DDEEFF, 2), interpolation=5)
        self.borders([(0x00010203, 1), (CL_NONE, 1), (0x00040506, 3), (CL_NONE, 1)])
        self.colour(0x00000080, "Accent")
        self.size((10, 12))
        self.properties([
            ("TdxSkinAlternateImageAttributes", "AlternateImage1Hot", self.alternate),
            ("TdxSkinColor", "TextColorHot", lambda: self.colour(0x00008000)),
        ])

    def skin(self, name="Oracle", icons=(ICON16, b""), texture=TEXTURE, glyph=b""):
        self.signature()
        self.string(name)
        if self.v >= 104:
            self.string(name + " Skin")
            self.string("Tests")
            self.wide("Notes \u00fc\u20ac")
            self.blob(icons[0])
            self.blob(icons[1])
        self.properties([
            ("TdxSkinColor", "Accent", lambda: self.colour(0x00FF8000, "PaletteAccent")),
            ("TdxSkinColor", "Plain", lambda: self.colour(0x00102030)),
        ])
        self.properties([
            ("TdxSkinBooleanProperty", "Bool", lambda: self.u8(1)),
            ("TdxSkinIntegerProperty", "Int", lambda: self.i32(42)),
            ("TdxSkinRectProperty", "Rect", lambda: self.rect((1, 2, 3, 4))),
            ("TdxSkinSizeProperty", "Size", lambda: self.size((5, 6))),
            ("TdxSkinStringProperty", "Str", lambda: self.string("h\u00e9llo")),
            ("TdxSkinWideStringProperty", "Wide", lambda: self.wide("w\u00efde")),
        ])
        self.i32(1)  # groups
        self.string("Button")
        self.i32(1)  # elements
        self.string("Face")
        self.element(texture, glyph)
        self.properties([("TdxSkinIntegerProperty", "GroupInt", lambda: self.i32(7))])
        if self.v >= 115:
            def palette(colour):
                return lambda: self.properties(
                    [("TdxSkinColor", "PaletteAccent", lambda: self.colour(colour))])
            self.properties([
                ("TdxSkinColorPalette", "Dark", palette(0x00202020)),
                ("TdxSkinColorPalette", "Default", palette(0x000000FF)),
            ])
        return bytes(self.b)


VERSIONS = [1.0, 1.02, 1.04, 1.09, 1.1, 1.15, 1.2, 1.24, 1.25]


def main():
    os.makedirs(OUT, exist_ok=True)
    for v in VERSIONS:
        with open(os.path.join(OUT, "skin_v%d.bin" % round(v * 100)), "wb") as f:
            f.write(Writer(v).skin())
    # Both icons stored, as the program's writer stores them: its output
    # must equal these bytes.
    with open(os.path.join(OUT, "skin_canonical.bin"), "wb") as f:
        f.write(Writer(1.25).skin(icons=(ICON16, ICON48)))
    with open(os.path.join(OUT, "skin_jpeg.bin"), "wb") as f:
        f.write(Writer(1.25).skin(icons=(ICON16, ICON48), texture=jpeg(), glyph=gif()))
    container = Writer(1.25)
    container.signature()
    container.i32(3)
    for name in ["Alpha", "Beta", "Gamma"]:
        data = Writer(1.25).skin(name=name)
        container.i32(len(data))
        container.b += data
    with open(os.path.join(OUT, "skin_container.bin"), "wb") as f:
        f.write(bytes(container.b))


if __name__ == "__main__":
    main()
