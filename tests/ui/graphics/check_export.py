#!/usr/bin/python3
# Reads the PNG that the graphics tests exported with Pillow and checks its
# size and pixels: a 3 x 2 picture of straight-alpha colours.
import sys
from PIL import Image

expected = [(255, 0, 0, 255), (0, 255, 0, 255), (0, 0, 255, 255),
            (255, 255, 255, 255), (255, 0, 0, 128), (0, 0, 0, 0)]
image = Image.open(sys.argv[1]).convert("RGBA")
if image.size != (3, 2):
    sys.exit("size %s, expected (3, 2)" % (image.size,))
got = list(image.getdata())
# A pixel of alpha 128 may differ by one in its colour after premultiplying.
for g, e in zip(got, expected):
    if g[3] != e[3] or (e[3] and any(abs(a - b) > 1 for a, b in zip(g[:3], e[:3]))):
        sys.exit("pixels %s, expected %s" % (got, expected))
print("export read back:", got)
