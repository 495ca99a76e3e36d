#!/usr/bin/env python3
"""Runs svgrender_bench under Wine over our SVG corpus and a fixed sample of
the installed symbolic icons (one process for all files), then times
rsvg-convert on the same files and sizes, its start-up subtracted: the time
it takes for a one-element image of the same size, which holds the process
start, the library's initialisation and the PNG output of that size. Prints
per set and size the mean times and

  ratio svgrender first-draw <set> <size>px: X       (our first draw / rsvg-convert)
  ratio svgrender load+first-draw <set> <size>px: X  (load and first draw / rsvg-convert)

and the cached redraw's speed-up over the first draw."""
import argparse
import glob
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
CORPUS = os.path.join(ROOT, "tests", "ui", "vector", "svg", "corpus")
ICONS = "/usr/share/icons/Adwaita/scalable"
ICON_SAMPLE = 60
SIZES = (16, 48, 256)
REPEAT = 5
TRIVIAL = '<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16"><rect width="1" height="1"/></svg>'


def icon_sample():
    # The same fixed sample as the visual comparison of the tests.
    files = sorted(glob.glob(os.path.join(ICONS, "*", "*-symbolic.svg")))
    if len(files) > ICON_SAMPLE:
        step = len(files) / ICON_SAMPLE
        files = [files[int(i * step)] for i in range(ICON_SAMPLE)]
    return files


def win(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def ours(exe, build, work, files):
    listing = os.path.join(work, "files.txt")
    with open(listing, "w", encoding="utf-8") as fh:
        fh.write("\n".join(win(f) for f in files) + "\n")
    run = subprocess.run([os.path.join(ROOT, "tools", "wine-run.sh"), "--build-dir", build, exe,
                          "--repeat", str(REPEAT), "--sizes", ",".join(map(str, SIZES)),
                          "@" + win(listing)], capture_output=True, text=True)
    result = {}
    for line in run.stdout.splitlines():
        f = line.split()
        if not f or f[0] != "time":
            print(line)
            continue
        name, load = f[1], float(f[3])
        sizes = {}
        for i in range(4, len(f), 3):
            sizes[int(f[i])] = (float(f[i + 1]), float(f[i + 2]))
        result[name] = (load, sizes)
    if run.returncode != 0:
        print("svgrender_bench failed: %s" % run.stderr.strip())
    return result


def rsvg_time(path, size, out):
    best = 1e30
    for _ in range(REPEAT):
        t = time.perf_counter()
        subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), path, "-o", out],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        best = min(best, time.perf_counter() - t)
    return best


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--build-dir", required=True)
    args = parser.parse_args()
    sets = {"corpus": sorted(glob.glob(os.path.join(CORPUS, "*.svg"))), "icons": icon_sample()}
    with tempfile.TemporaryDirectory(prefix="svgrender-") as work:
        measured = ours(args.exe, args.build_dir, work, sets["corpus"] + sets["icons"])
        trivial = os.path.join(work, "trivial.svg")
        with open(trivial, "w") as fh:
            fh.write(TRIVIAL)
        out = os.path.join(work, "out.png")
        startup = {s: rsvg_time(trivial, s, out) for s in SIZES}
        for s in SIZES:
            print("rsvg-convert start-up at %d px: %.1f ms" % (s, startup[s] * 1e3))
        for name, files in sets.items():
            files = [f for f in files if os.path.basename(f) in measured]
            if not files:
                print("svgrender %s: no files" % name)
                continue
            load = sum(measured[os.path.basename(f)][0] for f in files) / len(files)
            print("svgrender %s: %d files, load %.2f ms a file" % (name, len(files), load * 1e3))
            for s in SIZES:
                first = sum(measured[os.path.basename(f)][1][s][0] for f in files) / len(files)
                cached = sum(measured[os.path.basename(f)][1][s][1] for f in files) / len(files)
                peer = sum(max(rsvg_time(f, s, out) - startup[s], 1e-5) for f in files) / len(files)
                print("svgrender %s %d px: first draw %.3f ms, cached redraw %.4f ms, "
                      "rsvg-convert %.3f ms (start-up subtracted); cached redraw %.0fx faster "
                      "than a first draw" % (name, s, first * 1e3, cached * 1e3, peer * 1e3,
                                             first / cached))
                print("ratio svgrender first-draw %s %dpx: %.2f" % (name, s, first / peer))
                print("ratio svgrender load+first-draw %s %dpx: %.2f" % (name, s, (load + first) / peer))
                sys.stdout.flush()


if __name__ == "__main__":
    main()
