#!/usr/bin/env python3
"""The regular-expression engine against PCRE2 on patterns generated from the dialect's grammar
(fixed seeds). regextool runs the engine under Wine; regex_dialect translates each pattern.

For every pattern: the engine compiles it exactly when the dialect reading accepts it. For
every text: the engine's Next takes characters exactly while PCRE2's hard partial match says the
prefix can still match; IsFinal then agrees with a full match; NextEx keeps what a greedy filter
on that test keeps; and a character the engine inserts on its own is the only viable next
character of the test alphabet, after a prefix that is not a full match.
    regex_judge.py <build dir>
"""

import os
import random
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import regex_dialect as rd  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
SEEDS = range(1, 9)
PATTERNS_PER_SEED = 250


class Generator:
    def __init__(self, seed):
        self.rng = random.Random(seed)
        self.opened = 0

    def blank(self):
        return " " if self.rng.random() < 0.08 else ""

    def pattern(self):
        self.opened = 0
        return self.alts(0)

    def alts(self, depth):
        n = 1 + (self.rng.random() < 0.3) + (self.rng.random() < 0.1)
        return "|".join(self.alt(depth) for _ in range(n))

    def alt(self, depth):
        return "".join(self.item(depth) for _ in range(self.rng.randint(1, 4)))

    def item(self, depth):
        s = self.atom(depth)
        r = self.rng.random()
        count = 0 if r < 0.55 else 1 if r < 0.94 else 2
        for _ in range(count):
            s += self.blank() + self.quantifier()
        return s + self.blank()

    def quantifier(self):
        r = self.rng.random()
        if r < 0.6:
            return self.rng.choice("??*+")
        n = self.rng.randint(0, 2)
        b = self.blank
        kind = self.rng.randint(0, 2)
        if kind == 0:
            return "{" + b() + str(n) + b() + "}"
        if kind == 1:
            return "{" + b() + str(n) + b() + "," + b() + "}"
        return "{" + b() + str(n) + b() + "," + b() + str(n + self.rng.randint(0, 2)) + b() + "}"

    def atom(self, depth):
        r = self.rng.random()
        if r < 0.30:
            return self.rng.choice("ab01")
        if r < 0.36:
            return self.rng.choice([".", "/", ":", "\\p", "-", ",", "$", "^", "]", "}"])
        if r < 0.44:
            return self.rng.choice(["\\d", "\\w", "\\s", "\\D", "\\W", "\\S", "\\0", "\\x61",
                                    "\\.", "\\(", "\\\\", "\\-", "\\/", "\\:"])
        if r < 0.50:
            return "'" + "".join(self.rng.choice(["a", "b", " ", "''", "/"])
                                 for _ in range(self.rng.randint(1, 3))) + "'"
        if r < 0.62:
            return self.cls()
        if r < 0.70 and self.opened:
            return "\\" + str(self.rng.randint(1, min(self.opened, 9)))
        if depth < 3:
            self.opened += 1
            return "(" + self.blank() + self.alts(depth + 1) + self.blank() + ")"
        return self.rng.choice("ab")

    def cls(self):
        members = []
        for _ in range(self.rng.randint(1, 3)):
            r = self.rng.random()
            if r < 0.4:
                members.append(self.rng.choice("ab01.^"))
            elif r < 0.6:
                lo = self.rng.choice("a0")
                members.append(lo + self.blank() + "-" + self.blank() + chr(ord(lo) + self.rng.randint(1, 2)))
            elif r < 0.8:
                members.append(self.rng.choice(["\\d", "\\w", "\\s", "\\D", "\\S", "/", ":", "\\p", "\\1"]))
            else:
                members.append("'" + self.rng.choice(["a", "b-", " "]) + "'")
        if self.rng.random() < 0.2:
            members.insert(0, "-")
        head = "^" if self.rng.random() < 0.25 else ""
        return "[" + head + self.blank().join(members) + "]"


def mutate(rng, text, alphabet):
    if not text:
        return rng.choice(alphabet)
    i = rng.randrange(len(text))
    r = rng.random()
    if r < 0.4:
        return text[:i] + rng.choice(alphabet) + text[i + 1:]
    if r < 0.7:
        return text[:i] + rng.choice(alphabet) + text[i:]
    return text[:i] + text[i + 1:]


def run_tool(build, args, lines):
    exe = os.path.join(build, "tests", "ui", "editors", "regextool.exe")
    cmd = ["bash", os.path.join(ROOT, "tools", "wine-run.sh"), "--build-dir", build, exe] + args
    data = "".join(line + "\n" for line in lines).encode("utf-8")
    out = subprocess.run(cmd, input=data, stdout=subprocess.PIPE, check=True).stdout
    return out.decode("utf-8").split("\n")[: len(lines)]


def main():
    build = os.path.abspath(sys.argv[1])
    seps = tuple(chr(int(h, 16)) for h in run_tool(build, ["--separators"], [""])[0].split())
    alphabet = list("ab01-") + sorted(set(seps))
    pcre = rd.Pcre16()

    cases = []  # (pattern, translation or None, text)
    for seed in SEEDS:
        gen = Generator(seed)
        rng = random.Random(1000 + seed)
        for _ in range(PATTERNS_PER_SEED):
            pattern = gen.pattern()
            try:
                translation, tree = rd.translate(pattern, seps)
            except rd.DialectError:
                cases.append((pattern, None, "a"))
                continue
            texts = set()
            for _ in range(3):
                try:
                    s = rd.sample(tree, rng, alphabet)
                except rd.DialectError:  # a class that accepts nothing
                    break
                texts.add(s)
                texts.add(mutate(rng, s, alphabet))
            for _ in range(2):
                texts.add("".join(rng.choice(alphabet) for _ in range(rng.randint(0, 8))))
            for t in sorted(texts):
                if "\t" not in t and "\n" not in t and "\r" not in t:
                    cases.append((pattern, translation, t))

    results = run_tool(build, ["-x"], [p + "\t" + t for p, _, t in cases])
    failures, compiled, refused, checked = [], set(), set(), 0
    for (pattern, translation, text), line in zip(cases, results):
        why = judge(pcre, pattern, translation, text, line, alphabet)
        if translation is None:
            refused.add(pattern)
        else:
            compiled.add(pattern)
            checked += 1
        if why:
            failures.append("%r on %r: %s (engine: %s)" % (pattern, text, why, line))
    for f in failures[:30]:
        print("FAIL", f)
    print("patterns compiled %d, refused %d; texts checked %d" % (len(compiled), len(refused), checked))
    print("%d passed, %d failed" % (len(cases) - len(failures), len(failures)))
    # Guards against a generator that stops exercising the engine.
    if len(compiled) < 1000 or len(refused) < 50:
        print("too few compiled or refused patterns")
        return 1
    return 1 if failures else 0


compiled_cache = {}


def judge(pcre, pattern, translation, text, line, alphabet):
    if translation is None:
        return None if line.startswith("error ") else "the dialect refuses it, the engine compiles it"
    if not line.startswith("ok "):
        return "the engine refuses it"
    head, nextex, forced = line.split("\t")
    _, final, accepted = head.split(" ")
    accepted = int(accepted)
    if translation not in compiled_cache:
        compiled_cache[translation] = pcre.pattern(translation)
    rx = compiled_cache[translation]
    expected = 0
    while expected < len(text) and rx.viable(text[: expected + 1]):
        expected += 1
    if accepted != expected:
        return "accepted %d characters, PCRE2 %d" % (accepted, expected)
    if (final == "1") != rx.full(text[:accepted]):
        return "IsFinal %s after %d characters" % (final, accepted)
    greedy = ""
    for c in text:
        if rx.viable(greedy + c):
            greedy += c
    if nextex != greedy:
        return "NextEx %r, greedy filter %r" % (nextex, greedy)
    for k, code in enumerate(forced.split(",")):
        if code == "-":
            continue
        c, prefix = chr(int(code, 16)), text[:k]
        if rx.full(prefix):
            return "forces %r after the full match %r" % (c, prefix)
        if not rx.viable(prefix + c):
            return "forces %r after %r, which PCRE2 does not continue" % (c, prefix)
        others = [a for a in alphabet if a != c and rx.viable(prefix + a)]
        if others:
            return "forces %r after %r, but %r also fit" % (c, prefix, others)
    return None


if __name__ == "__main__":
    sys.exit(main())
