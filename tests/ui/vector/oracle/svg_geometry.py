#!/usr/bin/env python3
"""Path data against svgelements: the outline GDI+ receives for each path
text (vectortool svg-path) must follow the geometry svgelements computes.
Points along every one of our segments lie on its path within TOLERANCE user
units (the paths span about 100 units), and our outline reaches each end of
its subpaths."""
import argparse
import math
import os
import random
import subprocess
import sys
import tempfile

from svgelements import Path

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", "..", "..", ".."))
# Our arcs are cubic approximations of at most a quarter turn each (error
# below 3e-4 of the radius), computed in single precision: the tolerance
# grows by 3e-4 of the distance from the origin.
TOLERANCE = 0.05
SAMPLES = 2000

FIXED = [
    "M10 10 H20 V20 Z",
    "m1 1 2 2",
    "M0 0 h6 v6 h-6z",
    "M0 0 A 5 5 0 0 1 10 0",
    "M0 0 A 5 5 0 0 0 10 0",
    "M0 0 A 1 1 0 0 1 10 0",
    "M0 0 a-5 -5 0 0 1 10 0",
    "M20 20 a30 10 30 1 0 40 20",
    "M20 20 A 30 10 -45 1 1 60 60",
    "M0 0 Q 10 10 20 0 T 40 0 T 60 0",
    "M0 0 C 0 20 30 20 30 0 S 60 -20 60 0",
    "M10 80 L1e1 1E1 l 5e-1 20",
    "M4 16a6 6 0 0110 0",
    "M50 50 m-20 0 a20 20 0 1 0 40 0 a20 20 0 1 0 -40 0z",
]


def generated(count, seed=7):
    rnd = random.Random(seed)
    result = []
    for _ in range(count):
        parts = ["M%d %d" % (rnd.randint(0, 100), rnd.randint(0, 100))]
        for _ in range(rnd.randint(1, 5)):
            kind = rnd.choice("LCQAAHVla")
            n = lambda: "%.2f" % rnd.uniform(-60, 100)
            if kind in "Ll":
                parts.append("%s%s %s" % (kind, n(), n()))
            elif kind == "C":
                parts.append("C%s %s %s %s %s %s" % (n(), n(), n(), n(), n(), n()))
            elif kind == "Q":
                parts.append("Q%s %s %s %s" % (n(), n(), n(), n()))
            elif kind in "Aa":
                parts.append("%s%.1f %.1f %d %d %d %s %s" % (
                    kind, rnd.uniform(1, 50), rnd.uniform(1, 50), rnd.randint(-90, 90),
                    rnd.randint(0, 1), rnd.randint(0, 1), n(), n()))
            elif kind == "H":
                parts.append("H" + n())
            else:
                parts.append("V" + n())
        result.append(" ".join(parts))
    return result


def ours(build, paths):
    exe = os.path.join(build, "tests", "ui", "vector", "vectortool", "vectortool.exe")
    with tempfile.NamedTemporaryFile("w", suffix=".txt", delete=False, encoding="utf-8") as f:
        f.write("\n".join(paths) + "\n")
        listing = f.name
    try:
        r = subprocess.run([os.path.join(ROOT, "tools", "wine-run.sh"), "--build-dir", build, exe,
                            "svg-path", "@Z:" + listing.replace("/", "\\")],
                           capture_output=True, text=True)
    finally:
        os.unlink(listing)
    outlines, current = [], None
    for line in r.stdout.splitlines():
        if line.startswith("=="):
            current = []
            outlines.append(current)
        elif line and current is not None:
            current.append(line.split())
    return outlines, r.stderr


def cubic(p, t):
    u = 1 - t
    return (u ** 3 * p[0][0] + 3 * u * u * t * p[1][0] + 3 * u * t * t * p[2][0] + t ** 3 * p[3][0],
            u ** 3 * p[0][1] + 3 * u * u * t * p[1][1] + 3 * u * t * t * p[2][1] + t ** 3 * p[3][1])


def our_points(outline):
    pts, last = [], None
    for item in outline:
        op, v = item[0], [float(x) for x in item[1:]]
        if op == "M":
            last = (v[0], v[1])
            pts.append(last)
        elif op == "L":
            for k in range(1, 5):
                t = k / 4
                pts.append((last[0] + (v[0] - last[0]) * t, last[1] + (v[1] - last[1]) * t))
            last = (v[0], v[1])
        elif op == "C":
            ctrl = [last, (v[0], v[1]), (v[2], v[3]), (v[4], v[5])]
            pts += [cubic(ctrl, k / 8) for k in range(1, 9)]
            last = (v[4], v[5])
    return pts


# The reference path as short chords, segment by segment.
def reference(d):
    path = Path(d)
    chords = []
    for seg in path:
        if type(seg).__name__ == "Move":
            continue
        n = SAMPLES // max(1, len(path)) + 1
        pts = [seg.point(k / n) for k in range(n + 1)]
        chords += [((a.x, a.y), (b.x, b.y)) for a, b in zip(pts, pts[1:])]
    return chords


def distance(p, chords):
    best = float("inf")
    for (ax, ay), (bx, by) in chords:
        dx, dy = bx - ax, by - ay
        ll = dx * dx + dy * dy
        t = 0 if ll == 0 else max(0, min(1, ((p[0] - ax) * dx + (p[1] - ay) * dy) / ll))
        best = min(best, math.hypot(p[0] - ax - t * dx, p[1] - ay - t * dy))
    return best


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    args = parser.parse_args()
    paths = FIXED + generated(40)
    outlines, errors = ours(args.build_dir, paths)
    failures = []
    if len(outlines) != len(paths):
        failures.append("harness gave %d outlines for %d paths: %s" % (len(outlines), len(paths),
                                                                        errors.strip()))
    worst = 0.0
    for d, outline in zip(paths, outlines):
        if outline and outline[0][0] == "!!":
            failures.append("%s: %s" % (d, " ".join(outline[0])))
            continue
        chords = reference(d)
        for p in our_points(outline):
            e = distance(p, chords)
            worst = max(worst, e)
            if e > TOLERANCE + 3e-4 * max(abs(p[0]), abs(p[1])):
                failures.append("%s: point (%.3f, %.3f) is %.4f off" % (d, p[0], p[1], e))
                break
    print("worst distance: %.5f (tolerance %.2f) over %d paths" % (
        worst, TOLERANCE, len(paths)))
    for f in failures:
        print("FAIL " + f)
    print("%d passed, %d failed" % (len(paths) - len(failures), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
