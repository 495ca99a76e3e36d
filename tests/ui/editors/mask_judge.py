#!/usr/bin/env python3
"""The standard mask's IsValid and IsFullValid against PCRE2 on generated masks (fixed seeds).

Each mask is read here as a sequence of position classes; PCRE2 then decides a complete text
(every position filled, blanks only at optional placeholders) and a partial one (at most as
long as the mask, blanks at any placeholder). The letter case the checks leave in the text is
compared too. regextool --mask runs the mask under Wine.
    mask_judge.py <build dir>
"""

import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import regex_dialect as rd  # noqa: E402
from regex_judge import run_tool  # noqa: E402

CYRILLIC = "аяёжАЯЁЖ"
LETTERS = "abzXY" + CYRILLIC
ALPHABET = LETTERS + "0159+-_ ()./:;*#"
SEEDS = range(1, 5)
MASKS_PER_SEED = 150

# Position classes for the characters of ALPHABET (and any other letters of the two alphabets).
LETTER_CLASS = "A-Za-z\\x{410}-\\x{44f}\\x{401}\\x{451}"
CLASSES = {
    "L": "[" + LETTER_CLASS + "]",
    "A": "[0-9" + LETTER_CLASS + "]",
    "C": "(?s:.)",
    "0": "[0-9]",
    "#": "[0-9+\\-]",
}


def read_mask(mask, seps):
    """[(kind, optional, case, literal)] per position, and the blank character."""
    date, time = seps
    blank, s = "_", mask
    if s.startswith("!"):
        s = s[1:]
    if len(s) >= 4 and s[-4] == ";" and s[-3] in "01" and s[-2] == ";":
        blank, s = s[-1], s[:-4]
    elif len(s) >= 2 and s[-2] == ";" and s[-1] in "01":
        s = s[:-2]
    items, case, i = [], None, 0
    kinds = {"L": ("L", False), "l": ("L", True), "A": ("A", False), "a": ("A", True),
             "C": ("C", False), "c": ("C", True), "0": ("0", False), "9": ("0", True),
             "#": ("#", True)}
    while i < len(s):
        c = s[i]
        if c in kinds:
            items.append((kinds[c][0], kinds[c][1], case, None))
        elif c == ">":
            case = "upper"
        elif c == "<":
            if s[i + 1: i + 2] == ">":
                case, i = None, i + 1
            else:
                case = "lower"
        elif c == "\\":
            if i + 1 < len(s):
                i += 1
                items.append(("lit", False, None, s[i]))
        elif c == "/":
            items.append(("lit", False, None, date))
        elif c == ":":
            items.append(("lit", False, None, time))
        else:
            items.append(("lit", False, None, c))
        i += 1
    return items, blank


def position(item, blank, blank_ok):
    kind, optional, _, literal = item
    cls = "\\x{%x}" % ord(literal) if kind == "lit" else CLASSES[kind]
    if kind != "lit" and blank_ok(optional):
        cls = "(?:%s|\\x{%x}| )" % (cls, ord(blank))
    return cls


def full_pattern(items, blank):
    return "\\A" + "".join(position(it, blank, lambda opt: opt) for it in items) + "\\z"


def partial_pattern(items, blank):
    body = ""
    for it in reversed(items):
        body = "(?:%s%s)?" % (position(it, blank, lambda opt: True), body)
    return "\\A" + body + "\\z"


def converted(items, text):
    out = []
    for it, c in zip(items, text):
        case = it[2] if it[0] != "lit" else None
        out.append(c.upper() if case == "upper" else c.lower() if case == "lower" else c)
    return "".join(out) + text[len(items):]


def gen_mask(rng):
    parts = ["!"] if rng.random() < 0.2 else []
    for _ in range(rng.randint(1, 7)):
        r = rng.random()
        if r < 0.6:
            parts.append(rng.choice("LlAaCc09#"))
        elif r < 0.7:
            parts.append(rng.choice([">", "<", "<>"]))
        elif r < 0.8:
            parts.append("\\" + rng.choice("0L(a"))
        else:
            parts.append(rng.choice("()-./: "))
    tail = rng.random()
    if tail < 0.2:
        parts.append(";" + rng.choice("01"))
    elif tail < 0.35:
        parts.append(";" + rng.choice("01") + ";" + rng.choice("*# "))
    return "".join(parts)


def main():
    build = os.path.abspath(sys.argv[1])
    seps = tuple(chr(int(h, 16)) for h in run_tool(build, ["--separators"], [""])[0].split())[:2]
    pcre = rd.Pcre16()
    cases = []
    for seed in SEEDS:
        rng = random.Random(seed)
        for _ in range(MASKS_PER_SEED):
            mask = gen_mask(rng)
            items, blank = read_mask(mask, seps)
            texts = set()
            for _ in range(8):
                n = len(items) + rng.choice([-2, -1, 0, 0, 0, 1])
                texts.add("".join(rng.choice(ALPHABET + blank) for _ in range(max(n, 0))))
            # Texts that fill every position with something it takes.
            for _ in range(4):
                t = ""
                for kind, optional, _, literal in items:
                    if kind == "lit":
                        t += literal
                    else:
                        pool = {"L": LETTERS, "A": LETTERS + "015", "C": ALPHABET,
                                "0": "0159", "#": "0159+-"}[kind]
                        t += rng.choice(pool + (blank if rng.random() < 0.2 else ""))
                texts.add(t)
            cases += [(mask, items, blank, t) for t in sorted(texts)]

    results = run_tool(build, ["--mask"], [m + "\t" + t for m, _, _, t in cases])
    failures = []
    for (mask, items, blank, text), line in zip(cases, results):
        flags, after_valid, after_full = line.split("\t")
        valid, full = (f == "1" for f in flags.split(" "))
        want_full = pcre.pattern(full_pattern(items, blank)).full(text)
        want_valid = pcre.pattern(partial_pattern(items, blank)).full(text)
        why = None
        if valid != want_valid:
            why = "IsValid %s, PCRE2 %s" % (valid, want_valid)
        elif full != want_full:
            why = "IsFullValid %s, PCRE2 %s" % (full, want_full)
        elif valid and after_valid != converted(items, text):
            why = "IsValid left %r, expected %r" % (after_valid, converted(items, text))
        elif full and after_full != converted(items, text):
            why = "IsFullValid left %r" % after_full
        if why:
            failures.append("%r on %r: %s" % (mask, text, why))
    for f in failures[:30]:
        print("FAIL", f)
    print("%d passed, %d failed" % (len(cases) - len(failures), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
