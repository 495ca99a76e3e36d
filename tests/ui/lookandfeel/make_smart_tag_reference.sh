#!/usr/bin/env bash
# The filter smart tag's resource drawn by librsvg (rsvg-convert of
# librsvg2-bin) at 32 and 64 pixels, as the reference that the tests compare
# the program's own SVG rendering with. Run from this folder.
set -euo pipefail
SVG=../../../resources/lookandfeel/CX_SMARTTAG.svg
for Size in 32 64; do
  rsvg-convert -w "$Size" -h "$Size" -f png -o "fixtures/smart_tag_$Size.png" "$SVG"
done
