"""Deterministic well-formed XML documents for the comparisons with libxml2
and expat. They stay inside what the library's reader does like those
parsers: no literal tabs, line breaks or ">" inside attribute values, no control
characters by reference at the ends of a text, no comments inside text-only
elements, CDATA only as a whole text without "&" or escaped-byte patterns,
no "_x" followed by four hexadecimal digits and "_"."""
import os
import random
import re

NAME_START = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ_" + "éжЖ中ß"
NAME_REST = NAME_START + "0123456789-." + "·"
TEXT_POOL = (
    ["word", "x", "42", "3.14", " ", "  ", "Москва", "日本", "naïve", "🙂", "!", "?", "#",
     "(", ")", "[", "]", "{", "}", "/", "\\", "=", ";", ":", ",", "-", "+", "*", "%", "$",
     "@", "^", "`", "~", "|", ">", "'", '"', "_", "x_y", "__"]
    + ["&lt;", "&gt;", "&amp;", "&quot;", "&apos;", "&#65;", "&#x42;", "&#1046;", "&#x1F600;",
       "&#160;", "&#xE9;"])
INNER_REFERENCES = ["&#9;", "&#10;", "&#13;", "&#x9;", "&#xA;"]


class Generator:
    def __init__(self, seed):
        self.rnd = random.Random(seed)
        self.prefixes = []

    def name(self, allow_prefix=True):
        r = self.rnd
        n = r.choice(NAME_START) + "".join(r.choice(NAME_REST) for _ in range(r.randint(0, 8)))
        if allow_prefix and self.prefixes and r.random() < 0.2:
            n = r.choice(self.prefixes) + ":" + n
        return n

    def text(self, for_attribute):
        r = self.rnd
        parts = [r.choice(TEXT_POOL) for _ in range(r.randint(1, 8))]
        if r.random() < 0.3 and len(parts) > 2:
            parts.insert(r.randint(1, len(parts) - 1), r.choice(INNER_REFERENCES))
        s = "".join(parts)
        if for_attribute:
            # The reader ends a tag at ">" even inside quotes.
            s = s.replace('"', "&quot;").replace("<", "&lt;").replace(">", "&gt;")
        else:
            s = s.replace("<", "&lt;")
            if r.random() < 0.15:
                s = "\n" + " " * r.randint(0, 4) + s + "\n"  # pretty-printed text
        # The reader unescapes "_x" + four hexadecimal digits + "_" on purpose.
        return re.sub(r"_x(?=[0-9A-Fa-f]{4}_)", "_y", s)

    def cdata(self):
        r = self.rnd
        pool = ["a < b", "x > y", "<tag/>", "]]", "] ]>", "text", " ", "«»", "a\nb"]
        body = "".join(r.choice(pool) for _ in range(r.randint(1, 6)))
        return "<![CDATA[" + body.replace("]]>", "]] >") + "]]>"

    def attributes(self):
        r = self.rnd
        names = []
        for _ in range(r.randint(0, 5)):
            n = self.name()
            if n not in names:
                names.append(n)
        quote = lambda v: '"' + v + '"' if r.random() < 0.8 else "'" + v.replace("'", "&apos;") + "'"
        return "".join(" %s=%s" % (n, quote(self.text(True))) for n in names)

    def element(self, depth, out, indent):
        r = self.rnd
        tag = self.name()
        out.append("<" + tag + self.attributes())
        kind = r.random()
        if depth > 7 or kind < 0.15:
            out.append("/>")
        elif kind < 0.55:
            out.append(">" + (self.cdata() if r.random() < 0.15 else self.text(False)) + "</" + tag + ">")
        else:
            out.append(">")
            if r.random() < 0.2:
                out.append(self.text(False))  # mixed content: the structure is compared
            for _ in range(r.randint(1, 6)):
                if indent:
                    out.append("\n" + "  " * (depth + 1))
                if r.random() < 0.1:
                    out.append("<!-- note -->" if r.random() < 0.5 else "<?pi data?>")
                self.element(depth + 1, out, indent)
            if indent:
                out.append("\n" + "  " * depth)
            out.append("</" + tag + ">")

    def document(self, size):
        r = self.rnd
        self.prefixes = ["p", "q", "svg"][: r.randint(0, 3)]
        out = ['<?xml version="1.0" encoding="UTF-8"?>\n'] if r.random() < 0.7 else []
        root = "root"
        decls = "".join(' xmlns:%s="urn:example:%s"' % (p, p) for p in self.prefixes)
        if r.random() < 0.3:
            decls += ' xmlns="urn:example:default"'
        out.append("<%s%s%s>" % (root, decls, self.attributes()))
        indent = r.random() < 0.5
        while sum(len(s) for s in out) < size:
            if indent:
                out.append("\n  ")
            self.element(1, out, indent)
        out.append("\n</%s>\n" % root)
        return "".join(out)


def generate(folder, count, seed=7):
    """Writes count documents into folder and returns their paths."""
    g = Generator(seed)
    paths = []
    for i in range(count):
        size = 200000 if i == 0 else g.rnd.choice([300, 2000, 10000])
        path = os.path.join(folder, "generated-%02d.xml" % i)
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(g.document(size))
        paths.append(path)
    return paths
