#!/usr/bin/env python3
"""Runs xmlparse_bench under Wine on each file (one process per file, so that
each peak is its own), then times libxml2 building its tree (lxml, in
process) over the same bytes, and prints one "ratio xmlparse <file>: X" line
per file, X = our load time / libxml2's."""
import argparse
import os
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
REPEAT = 5

# The peak is the high-water mark of the resident set over the first parse,
# counted from the resident set before it (the mark is reset first).
LIBXML2_PROBE = r"""
import sys, time
from lxml import etree

def status(field):
    for line in open("/proc/self/status"):
        if line.startswith(field + ":"):
            return int(line.split()[1]) / 1024.0

data = open(sys.argv[1], "rb").read()
parser = etree.XMLParser(huge_tree=True, resolve_entities=False, no_network=True)
with open("/proc/self/clear_refs", "w") as f:
    f.write("5")
before = status("VmRSS")
best = 1e30
for i in range(int(sys.argv[2])):
    t = time.perf_counter()
    tree = etree.fromstring(data, parser)
    best = min(best, time.perf_counter() - t)
    if i == 0:
        peak = status("VmHWM") - before
        kept = tree
    del tree
print("%.6f %.1f" % (best, peak))
"""


def files(work):
    sys.path.insert(0, HERE)
    import gen_document
    generated = os.path.join(work, "generated-40MB.xml")
    sys.argv = ["gen_document.py", generated, "40"]
    gen_document.main()
    result, seen = [generated], set()
    for d in ("/usr/share/xml/iso-codes", "/usr/share/mime/packages"):
        if not os.path.isdir(d):
            continue
        for name in sorted(os.listdir(d)):
            path = os.path.join(d, name)
            real = os.path.realpath(path)
            if name.endswith(".xml") and real not in seen and os.path.getsize(real) > 0:
                seen.add(real)
                result.append(real)
    return result


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exe", required=True)
    parser.add_argument("--build-dir", required=True)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="xmlparse-") as work:
        for path in files(work):
            name = os.path.basename(path)
            size = os.path.getsize(path) / 1e6
            run = subprocess.run([os.path.join(ROOT, "tools", "wine-run.sh"), "--build-dir",
                                  args.build_dir, args.exe, "--repeat", str(REPEAT),
                                  "Z:" + path.replace("/", "\\")], capture_output=True, text=True)
            ours = None
            for line in run.stdout.splitlines():
                if line.startswith("time "):
                    ours = float(line.split()[2])
                else:
                    print(line)
            if ours is None:
                print("ours %s: failed: %s" % (name, run.stderr.strip()))
                continue
            probe = subprocess.run([sys.executable, "-c", LIBXML2_PROBE, path, str(REPEAT)],
                                   capture_output=True, text=True)
            if probe.returncode != 0:
                print("libxml2 %s: rejects the file (%s); no ratio"
                      % (name, probe.stderr.strip().splitlines()[-1]))
                continue
            theirs, peak = (float(x) for x in probe.stdout.split())
            print("libxml2 %s: load %.4f s, %.1f MB/s, peak +%.1f MiB"
                  % (name, theirs, size / theirs, peak))
            print("ratio xmlparse %s: %.2f" % (name, ours / theirs))
            sys.stdout.flush()


if __name__ == "__main__":
    main()
