#!/usr/bin/env python3
"""The SVG image against rsvg-convert: a corpus of our own and the symbolic
icons the system installs, drawn by vectortool (through the handle's Draw)
and by rsvg-convert at 16, 32, 48 and 256 px, judged by ImageMagick's
compare. What the image does otherwise than SVG on purpose is checked file by
file (deviations/). Failures leave both pictures and a diff in the build
folder."""
import argparse
import glob
import os
import shutil
import subprocess
import sys
import tempfile

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", "..", "..", ".."))
CORPUS = os.path.join(HERE, "..", "svg", "corpus")
DEVIATIONS = os.path.join(HERE, "..", "svg", "deviations")
ICONS = "/usr/share/icons/Adwaita/scalable"
SIZES = (16, 32, 48, 256)
ICON_SAMPLE = 60

# Root-mean-square error over the channels, normalised to 0..1, after both
# pictures are laid on white; the tree is drawn straight onto an anti-aliased
# canvas. These bounds are the worst seen over the corpus and the icon
# sample with a margin: edges still differ from rsvg-convert's by up to a
# pixel (not yet explained), so they catch gross faults (missing or misplaced
# shapes, wrong colours), not edge placement.
TOLERANCE = {16: 0.38, 32: 0.25, 48: 0.21, 256: 0.14}


def win(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def run_tool(build, args):
    exe = os.path.join(build, "tests", "ui", "vector", "vectortool", "vectortool.exe")
    return subprocess.run([os.path.join(ROOT, "tools", "wine-run.sh"), "--build-dir", build, exe]
                          + args, capture_output=True, text=True)


def render_ours(build, work, files, size, tag):
    pairs = []
    outs = {}
    for f in files:
        out = os.path.join(work, "%s-%s-%d-ours.png" % (tag, os.path.basename(f)[:-4], size))
        pairs += [win(f), win(out)]
        outs[f] = out
    listing = os.path.join(work, "list-%s-%d.txt" % (tag, size))
    with open(listing, "w", encoding="utf-8") as fh:
        fh.write("\n".join(pairs) + "\n")
    r = run_tool(build, ["svg-render", "--direct", "--size", str(size), "@" + win(listing)])
    return outs, r.stderr


def render_rsvg(f, size, out):
    subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), f, "-o", out], check=True)


def flat(path, size):
    im = Image.open(path).convert("RGBA")
    if im.size != (size, size):
        im = im.resize((size, size))
    bg = Image.new("RGBA", im.size, (255, 255, 255, 255))
    bg.alpha_composite(im)
    return bg.convert("RGB")


def rmse(a, b, diff_path=None):
    r = subprocess.run(["compare", "-metric", "RMSE", a, b, diff_path or "null:"],
                       capture_output=True, text=True)
    text = r.stderr.strip()
    return float(text.split("(")[1].rstrip(")"))


def compare(build, files, tag, keep):
    failures = []
    worst = {}
    with tempfile.TemporaryDirectory(prefix="svgoracle-") as work:
        for size in SIZES:
            outs, errors = render_ours(build, work, files, size, tag)
            for f in files:
                name = os.path.basename(f)[:-4]
                ours = outs[f]
                if not os.path.exists(ours):
                    failures.append("%s at %d: not drawn (%s)" % (name, size, errors.strip()))
                    continue
                theirs = os.path.join(work, "%s-%s-%d-rsvg.png" % (tag, name, size))
                render_rsvg(f, size, theirs)
                a, b = ours + ".flat.png", theirs + ".flat.png"
                flat(ours, size).save(a)
                flat(theirs, size).save(b)
                e = rmse(a, b)
                worst[size] = max(worst.get(size, 0), e)
                if e > TOLERANCE[size]:
                    failures.append("%s at %d: RMSE %.4f > %.3f" % (name, size, e, TOLERANCE[size]))
                    os.makedirs(keep, exist_ok=True)
                    for p in (a, b):
                        shutil.copy(p, keep)
                    rmse(a, b, os.path.join(keep, "%s-%s-%d-diff.png" % (tag, name, size)))
    for size in SIZES:
        print("%s: worst RMSE at %d px: %.4f (tolerance %.3f)" % (tag, size, worst.get(size, 0),
                                                                 TOLERANCE[size]))
    return failures


def pixel(path, x, y):
    return Image.open(path).convert("RGBA").getpixel((x, y))


# What the image does otherwise than SVG on purpose, one assertion per file,
# on our own drawing at 32 px (1 unit = 1 px).
def deviation_checks():
    def group_opacity(p):
        # Opacity multiplies down to each element: the overlap of two
        # half-transparent children shows both, a group layer would not.
        a, b = pixel(p, 4, 16)[3], pixel(p, 12, 16)[3]
        return a < b, "overlap alpha %d not above single alpha %d" % (b, a)

    def not_inherited(p):
        # fill-opacity is the element's own: the child of a group with
        # fill-opacity 0.2 is opaque.
        return pixel(p, 16, 16)[3] == 255, "alpha %d" % pixel(p, 16, 16)[3]

    def stroke_opacity(p):
        # stroke-opacity is no attribute here: the stroke stays opaque.
        return pixel(p, 16, 4)[3] == 255, "alpha %d" % pixel(p, 16, 4)[3]

    def unsupported(p):
        # radialGradient, symbol and image are skipped with their subtrees;
        # a fill naming a radial gradient paints nothing.
        return pixel(p, 16, 16)[3] == 0, "alpha %d" % pixel(p, 16, 16)[3]

    def selectors(p):
        # id and compound selectors never match.
        return pixel(p, 8, 16)[:3] == (0, 0, 0), "colour %r" % (pixel(p, 8, 16),)

    def em_units(p):
        # em is no unit here: the width is unreadable and the rect is empty.
        return pixel(p, 4, 16)[3] == 0, "alpha %d" % pixel(p, 4, 16)[3]

    def text(p):
        # Text is laid out by GDI+ from the top of the cell less the ascent:
        # some ink lands in the box around the baseline.
        im = Image.open(p).convert("RGBA")
        ink = sum(1 for x in range(2, 30) for y in range(8, 24) if im.getpixel((x, y))[3] > 0)
        return ink > 0, "no ink"

    return {
        "group_opacity.svg": group_opacity,
        "fill_opacity_not_inherited.svg": not_inherited,
        "no_stroke_opacity.svg": stroke_opacity,
        "unsupported_tags.svg": unsupported,
        "id_and_compound_selectors.svg": selectors,
        "em_units.svg": em_units,
        "text.svg": text,
    }


def check_deviations(build):
    failures = []
    checks = deviation_checks()
    files = sorted(glob.glob(os.path.join(DEVIATIONS, "*.svg")))
    listed = set(checks)
    present = {os.path.basename(f) for f in files}
    for missing in sorted(listed - present):
        failures.append("deviation %s: file missing" % missing)
    for extra in sorted(present - listed):
        failures.append("deviation %s: no assertion" % extra)
    with tempfile.TemporaryDirectory(prefix="svgdev-") as work:
        outs, errors = render_ours(build, work, files, 32, "dev")
        for f in files:
            name = os.path.basename(f)
            if name not in checks:
                continue
            if not os.path.exists(outs[f]):
                failures.append("deviation %s: not drawn (%s)" % (name, errors.strip()))
                continue
            ok, why = checks[name](outs[f])
            print("deviation %s: %s" % (name, "as intended" if ok else "FAILED: " + why))
            if not ok:
                failures.append("deviation %s: %s" % (name, why))
    return failures


def icons(all_icons):
    files = sorted(glob.glob(os.path.join(ICONS, "*", "*-symbolic.svg")))
    if not all_icons and len(files) > ICON_SAMPLE:
        step = len(files) / ICON_SAMPLE
        files = [files[int(i * step)] for i in range(ICON_SAMPLE)]
    return files


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--all-icons", action="store_true")
    parser.add_argument("--only", choices=("corpus", "icons", "deviations"))
    args = parser.parse_args()
    keep = os.path.join(args.build_dir, "svg-oracle")
    shutil.rmtree(keep, ignore_errors=True)
    failures = []
    if args.only in (None, "corpus"):
        failures += compare(args.build_dir, sorted(glob.glob(os.path.join(CORPUS, "*.svg"))),
                            "corpus", keep)
    if args.only in (None, "icons"):
        found = icons(args.all_icons)
        if not found:
            failures.append("no symbolic icons under %s (adwaita-icon-theme)" % ICONS)
        else:
            print("icons: %d files" % len(found))
            failures += compare(args.build_dir, found, "icons", keep)
    if args.only in (None, "deviations"):
        failures += check_deviations(args.build_dir)
    for f in failures:
        print("FAIL " + f)
    print("%d passed, %d failed" % (0 if failures else 1, 1 if failures else 0))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
