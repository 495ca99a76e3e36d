#!/usr/bin/env python3
"""Translates the benchmark's patterns for PCRE2, runs the native peer and prints both sides.
    compare.py <work folder> <pcre2peer>"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "ui", "editors"))
import regex_dialect as rd  # noqa: E402


def main():
    work, peer = sys.argv[1], sys.argv[2]
    lines = open(os.path.join(work, "cases.txt"), encoding="utf-8").read().splitlines()
    seps = tuple(lines[0].split("\t")[1:4])
    kinds, translated, chars = {}, [], {}
    for line in lines[1:]:
        parts = line.split("\t")
        if parts[0] == "case":
            name, kind, pattern = parts[1], parts[2], parts[3]
            kinds[name] = kind
            translated.append("case\t%s\t%s" % (name, rd.translate(pattern, seps)[0]))
        else:
            translated.append(line)
    path = os.path.join(work, "pcre.txt")
    open(path, "w", encoding="utf-8").write("\n".join(translated) + "\n")
    peer_out = subprocess.run([peer, path], stdout=subprocess.PIPE, check=True, text=True).stdout
    theirs = {f[0]: f[1:] for f in (l.split("\t") for l in peer_out.splitlines())}
    ours = {}
    for l in open(os.path.join(work, "ours.txt"), encoding="utf-8").read().splitlines():
        f = l.split("\t")
        ours[f[0]] = (float(f[1]), int(f[2]), int(f[3]))
    worst = 0.0
    for name, kind in kinds.items():
        ns, nchars, finals = ours[name]
        interp, jit, their_finals = float(theirs[name][0]), float(theirs[name][1]), int(theirs[name][2])
        agree = "" if finals == their_finals or interp < 0 else "  (full matches differ: %d vs %d)" % (finals, their_finals)
        fmt = lambda t: "gave up" if t < 0 else "%.0f texts/s" % (1e9 / t)
        if kind == "long":
            per = lambda t: "gave up" if t < 0 else "%.2f ns/char" % (t / nchars)
            print("%-22s ours %s, PCRE2 interpreter %s, JIT %s%s" % (name, per(ns), per(interp), per(jit), agree))
        else:
            print("%-22s ours %s, PCRE2 interpreter %s, JIT %s%s" % (name, fmt(ns), fmt(interp), fmt(jit), agree))
        if interp > 0:
            ratio = ns / interp
            print("ratio %s vs PCRE2 interpreter: %.2f" % (name, ratio))
            if kind == "mask":
                worst = max(worst, ratio)
        if jit > 0:
            print("ratio %s vs PCRE2 JIT: %.2f" % (name, ns / jit))
    print("worst mask-length ratio vs PCRE2 interpreter: %.2f (goal: within 10)" % worst)


if __name__ == "__main__":
    main()
