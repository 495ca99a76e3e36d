#!/usr/bin/python3
# Reads with Pillow the BMPs that the graphics tests decompressed from the
# compressed form-resource data and checks that each holds the pixels of the
# ImageMagick BMP it came from. The framework keeps 16-bit pixels as 5-5-5,
# so a 5-6-5 picture comes back with its lowest green bit gone.
import sys
from pathlib import Path
from PIL import Image

fixtures, roundtrip = Path(sys.argv[1]), Path(sys.argv[2])
names = ["depth%d" % n for n in (1, 4, 8, 16, 24, 32)]
for name in names:
    original = Image.open(fixtures / (name + ".bmp")).convert("RGB")
    decompressed = Image.open(roundtrip / (name + ".bmp")).convert("RGB")
    if decompressed.size != original.size:
        sys.exit("%s: size %s, expected %s" % (name, decompressed.size, original.size))
    allowed = 8 if name == "depth16" else 0
    worst = max(abs(a - b) for a, b in zip(decompressed.tobytes(), original.tobytes()))
    if worst > allowed:
        sys.exit("%s: the pixels differ from ImageMagick's BMP by up to %d" % (name, worst))
print("decompressed BMPs read back:", ", ".join(names))
