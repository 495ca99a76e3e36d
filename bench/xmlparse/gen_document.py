#!/usr/bin/env python3
"""Writes a deterministic XML document of about the given size (MB): records
with attributes, short texts, nesting and a few entities, as data files have."""
import random
import sys

def main():
    path, mb = sys.argv[1], float(sys.argv[2])
    rnd = random.Random(20240611)
    words = ["alpha", "beta", "gamma", "delta", "Москва", "Zürich", "x&amp;y", "a &lt; b",
             "path", "value", "unit", "42", "3.14159", "true"]
    tags = ["record", "item", "name", "value", "entry", "note", "point", "group"]
    limit = int(mb * 1e6)
    out = ['<?xml version="1.0" encoding="UTF-8"?>\n<dataset version="2">\n']
    size = sum(len(s) for s in out)
    n = 0
    while size < limit:
        n += 1
        parts = ['  <record id="%d" kind="%s" x="%.3f" y="%.3f">\n'
                 % (n, rnd.choice(tags), rnd.uniform(-1e3, 1e3), rnd.uniform(-1e3, 1e3))]
        for _ in range(rnd.randint(2, 6)):
            tag = rnd.choice(tags)
            text = " ".join(rnd.choice(words) for _ in range(rnd.randint(1, 5)))
            parts.append('    <%s lang="%s">%s</%s>\n' % (tag, rnd.choice(["en", "ru", "de"]), text, tag))
        if rnd.random() < 0.3:
            parts.append('    <point x="%d" y="%d"/>\n' % (rnd.randint(0, 999), rnd.randint(0, 999)))
        parts.append("  </record>\n")
        chunk = "".join(parts)
        out.append(chunk)
        size += len(chunk.encode("utf-8"))
    out.append("</dataset>\n")
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("".join(out))

if __name__ == "__main__":
    main()
