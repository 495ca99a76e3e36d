#!/usr/bin/python3
# Judges the date and date-time edit masks that editcore_tests wrote out:
# each mask, read in the mask syntax and turned into a Python regular
# expression, must fully match every text the platform wrote with the
# locale's own pictures (POS) and none of the impossible ones (NEG).
#   judge_masks.py editcore-masks.txt
import re
import sys

BLANKS = "\0\t\n\f\r "
ESCAPES = {"d": r"\d", "D": r"\D", "w": "[A-Za-z0-9_]", "W": "[^A-Za-z0-9_]",
           "s": "[\0\t\n\f\r ]", "S": "[^\0\t\n\f\r ]", "a": "\a", "e": "\x1b", "f": "\f",
           "n": "\n", "r": "\r", "t": "\t", "0": "0"}


def to_python(mask, date_sep, time_sep):
    out, i, n = [], 0, len(mask)
    while i < n:
        c = mask[i]
        if c in BLANKS:
            i += 1
        elif c == "'":
            i += 1
            while i < n:
                if mask[i] == "'":
                    if i + 1 < n and mask[i + 1] == "'":
                        out.append(re.escape("'"))
                        i += 2
                        continue
                    break
                out.append(re.escape(mask[i]))
                i += 1
            i += 1
        elif c == "\\":
            if i + 1 >= n:
                break
            e = mask[i + 1]
            if e == "x":
                out.append(re.escape(chr(int(mask[i + 2:i + 4], 16))))
                i += 4
                continue
            out.append(ESCAPES.get(e, re.escape(e)))
            i += 2
        elif c == "/":
            out.append(re.escape(date_sep))
            i += 1
        elif c == ":":
            out.append(re.escape(time_sep))
            i += 1
        elif c in "()|*+?.[]{}-^,":
            out.append(c)
            i += 1
        else:
            out.append(re.escape(c))
            i += 1
    return "".join(out)


def main(path):
    seps, masks, checks = {}, {}, []
    with open(path, encoding="utf-8") as f:
        for line in f.read().split("\n"):
            if not line:
                continue
            kind, name, value = line.split("\t", 2)
            if kind in ("DATESEP", "TIMESEP"):
                seps[(kind, name)] = value
            elif kind == "MASK":
                masks[name] = value
            else:
                checks.append((kind, name, value))
    passed = failed = 0
    compiled = {}
    for name, mask in masks.items():
        locale = name.split(" ")[0]
        pattern = to_python(mask, seps[("DATESEP", locale)], seps[("TIMESEP", locale)])
        compiled[name] = re.compile(pattern, re.DOTALL)
    for kind, name, text in checks:
        matched = compiled[name].fullmatch(text) is not None
        if matched == (kind == "POS"):
            passed += 1
        else:
            failed += 1
            print("%s %s: %r %s the mask %r" % (kind, name, text,
                                                  "misses" if kind == "POS" else "matches",
                                                  masks[name]))
    if passed == 0:
        print("no texts were judged")
        failed += 1
    print("%d passed, %d failed" % (passed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
