#!/usr/bin/env python3
"""The library's XML reader and writer against two independent parsers.

(a) The trees our reader builds from well-formed documents (the hand-written
    corpus, generated documents and the XML that Debian packages install)
    equal libxml2's (through lxml) and expat's (non-namespace mode): element
    names as written, attributes in order with their values, nesting, and
    the texts of elements that hold text only.
(b) Everything our writer saves from those trees, flat and indented, is
    well-formed for xmllint, and libxml2 reads our values back (after
    undoing the escaped-byte form _xHHHH_ that only our reader knows).
(c) Files that libxml2 rejects load without an exception, and saving twice
    gives the same bytes.

Deliberate differences (mixed content, comments inside texts, CDATA
unescaped, _xHHHH_, trimming, attribute values kept as written, ">" inside
a quoted value, DTD entities, other encodings) are kept out of (a) and (b);
corpus/deviations holds them with their own expected trees, which the
vector_tests executable checks.

    compare.py --build-dir BUILD [--keep DIR]
"""
import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.parsers.expat

try:
    from lxml import etree
except ImportError:
    sys.exit("compare.py: needs lxml (Debian package python3-lxml)")

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", "..", "..", ".."))
CORPUS = os.path.join(HERE, "..", "corpus")
XML_NAMESPACE = "http://www.w3.org/XML/1998/namespace"
sys.path.insert(0, HERE)
import generate  # noqa: E402


# ---------------------------------------------------------------------------
# The tree text of XmlTreeText.h: one line per element, fields escaped.

def escape(data):
    return "".join(chr(b) if 0x20 < b < 0x7F and b not in (0x5C, 0x3D, 0x22) else "\\x%02X" % b
                   for b in data)


class Element:
    def __init__(self, depth, name, attributes, text):
        self.depth, self.name, self.attributes, self.text = depth, name, attributes, text

    def line(self):
        fields = ["%d" % self.depth, escape(self.name)]
        fields += ["%s=%s" % (escape(n), escape(v)) for n, v in self.attributes]
        if self.text:
            fields.append('"' + escape(self.text))
        return " ".join(fields)


def parse_tree_text(lines):
    """Our tree text back into (depth, name, attributes, text) records, with
    the fields still escaped (both sides are compared escaped)."""
    result = []
    for line in lines:
        fields = line.split(" ")
        depth, name, attributes, text = int(fields[0]), fields[1], [], None
        for f in fields[2:]:
            if f.startswith('"'):
                text = f[1:]
            else:
                n, v = f.split("=", 1)
                attributes.append((n, v))
        result.append((depth, name, attributes, text))
    return result


def trim(data):
    """Our reader's trimming: bytes below 32 at both ends go."""
    start, end = 0, len(data)
    while start < end and data[start] < 32:
        start += 1
    while end > start and data[end - 1] < 32:
        end -= 1
    return data[start:end]


def unescape_bytes(data):
    """The escaped-byte form _xHHHH_ (value up to 255) as our reader reads it."""
    return re.sub(rb"_x([0-9A-Fa-f]{4})_",
                  lambda m: bytes([int(m.group(1), 16)]) if int(m.group(1), 16) <= 255 else m.group(0),
                  data)


# ---------------------------------------------------------------------------
# The oracles' trees as records. "text" is None for an element whose text is
# not compared (it holds anything but text).

def lxml_records(path, map_escapes=False):
    parser = etree.XMLParser(huge_tree=True, resolve_entities=False, load_dtd=False,
                             no_network=True, remove_blank_text=False)
    tree = etree.parse(path, parser)
    out = []

    def fix(s):
        data = s.encode("utf-8")
        return unescape_bytes(data) if map_escapes else data

    def walk(el, depth):
        q = etree.QName(el)
        name = ((el.prefix + ":") if el.prefix else "") + q.localname
        parent_map = el.getparent().nsmap if el.getparent() is not None else {}
        declarations = [("xmlns:" + p if p else "xmlns", u) for p, u in el.nsmap.items()
                        if parent_map.get(p) != u]
        reverse = {u: p for p, u in el.nsmap.items() if p}
        reverse[XML_NAMESPACE] = "xml"
        attributes = []
        for key, value in el.attrib.items():
            aq = etree.QName(key)
            n = (reverse[aq.namespace] + ":" + aq.localname) if aq.namespace else aq.localname
            attributes.append((n.encode("utf-8"), fix(value)))
        declarations = [(n.encode("utf-8"), u.encode("utf-8")) for n, u in declarations]
        text = None
        if len(el) == 0:
            data = fix(el.text or "")
            preserve = el.get("{%s}space" % XML_NAMESPACE) == "preserve"
            text = data if preserve else trim(data)
        out.append((depth, name.encode("utf-8"), declarations, attributes, text))
        for child in el:
            if isinstance(child.tag, str):
                walk(child, depth + 1)

    walk(tree.getroot(), 0)
    return out


def expat_records(path):
    parser = xml.parsers.expat.ParserCreate()
    parser.ordered_attributes = True
    parser.specified_attributes = True
    out, stack = [], []

    def start(name, attrs):
        if stack:
            stack[-1]["plain"] = False
        record = {"depth": len(stack), "name": name, "attrs": list(zip(attrs[0::2], attrs[1::2])),
                  "text": [], "plain": True}
        out.append(record)
        stack.append(record)

    def end(name):
        stack.pop()

    def characters(data):
        if stack:
            stack[-1]["text"].append(data)

    def other(*args):
        if stack:
            stack[-1]["plain"] = False

    parser.StartElementHandler = start
    parser.EndElementHandler = end
    parser.CharacterDataHandler = characters
    parser.CommentHandler = other
    parser.ProcessingInstructionHandler = other
    with open(path, "rb") as f:
        parser.ParseFile(f)
    result = []
    for r in out:
        attributes = [(n.encode("utf-8"), v.encode("utf-8")) for n, v in r["attrs"]]
        text = None
        if r["plain"]:
            data = "".join(r["text"]).encode("utf-8")
            preserve = dict(r["attrs"]).get("xml:space") == "preserve"
            text = data if preserve else trim(data)
        result.append((r["depth"], r["name"].encode("utf-8"), attributes, text))
    return result


# ---------------------------------------------------------------------------
# Comparisons

def compare_lxml(ours, theirs):
    """First difference between our records and lxml's, or None."""
    if len(ours) != len(theirs):
        return "%d elements, libxml2 has %d" % (len(ours), len(theirs))
    for (depth, name, attributes, text), (d, n, decl, attrs, t) in zip(ours, theirs):
        where = "element %s at depth %d" % (name, depth)
        if depth != d or name != escape(n):
            return "%s: libxml2 has %s at depth %d" % (where, escape(n), d)
        our_decl = [a for a in attributes if a[0] == "xmlns" or a[0].startswith("xmlns:")]
        our_attrs = [a for a in attributes if a not in our_decl]
        if our_decl != [(escape(a), escape(b)) for a, b in decl]:
            return "%s: namespace declarations %s, libxml2 %s" % (where, our_decl, decl)
        if our_attrs != [(escape(a), escape(b)) for a, b in attrs]:
            return "%s: attributes %s, libxml2 %s" % (where, our_attrs, attrs)
        if t is not None and (text or "") != escape(t):
            return "%s: text %r, libxml2 %r" % (where, text, escape(t))
    return None


def compare_expat(ours, theirs):
    if len(ours) != len(theirs):
        return "%d elements, expat has %d" % (len(ours), len(theirs))
    for (depth, name, attributes, text), (d, n, attrs, t) in zip(ours, theirs):
        where = "element %s at depth %d" % (name, depth)
        if (depth, name) != (d, escape(n)):
            return "%s: expat has %s at depth %d" % (where, escape(n), d)
        if attributes != [(escape(a), escape(b)) for a, b in attrs]:
            return "%s: attributes %s, expat %s" % (where, attributes, attrs)
        if t is not None and (text or "") != escape(t):
            return "%s: text %r, expat %r" % (where, text, escape(t))
    return None


class Run:
    def __init__(self, build_dir, work):
        self.build_dir, self.work = build_dir, work
        self.tool = os.path.join(build_dir, "tests", "ui", "vector", "vectortool", "vectortool.exe")
        self.passed = self.failed = 0

    verbose = False

    def check(self, what, problem):
        if problem:
            self.failed += 1
            print("FAIL %s: %s" % (what, problem))
        else:
            self.passed += 1
            if self.verbose:
                print("ok   " + what)

    def vectortool(self, command, arguments):
        """Runs one vectortool command over many files (one Wine process)."""
        listing = os.path.join(self.work, "arguments-%s.txt" % command)
        with open(listing, "w", encoding="utf-8") as f:
            f.write("\n".join(arguments) + "\n")
        run = subprocess.run([os.path.join(ROOT, "tools", "wine-run.sh"), "--build-dir",
                              self.build_dir, self.tool, command, "@" + windows_path(listing)],
                             capture_output=True)
        return run.returncode, run.stdout, run.stderr.decode("utf-8", "replace")

    def dump(self, paths):
        """Our tree text of each file: {path: [lines]} ("!!" lines for failures)."""
        code, out, err = self.vectortool("xml-dump", [windows_path(p) for p in paths])
        trees, current = {}, None
        by_windows = {windows_path(p): p for p in paths}
        for line in out.decode("ascii").split("\n"):
            if line.startswith("== "):
                current = by_windows[line[3:]]
                trees[current] = []
            elif line and current is not None:
                trees[current].append(line)
        return trees

    def save(self, pairs, indent):
        arguments = (["--indent"] if indent else []) + [windows_path(p) for pair in pairs for p in pair]
        code, out, err = self.vectortool("xml-save", arguments)
        return code, err


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def well_formed(path):
    try:
        etree.parse(path, etree.XMLParser(huge_tree=True, resolve_entities=False, no_network=True))
        return True
    except etree.XMLSyntaxError:
        return False


def corpus(folder):
    d = os.path.join(CORPUS, folder)
    return sorted(os.path.join(d, f) for f in os.listdir(d) if f.endswith(".xml"))


def installed_files():
    files = []
    for d in ("/usr/share/xml/iso-codes", "/usr/share/mime/packages"):
        if os.path.isdir(d):
            files += sorted(os.path.join(d, f) for f in os.listdir(d) if f.endswith(".xml"))
    return files


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build-dir", required=True)
    parser.add_argument("--keep", help="write the work files here and keep them")
    parser.add_argument("--verbose", action="store_true", help="list the checks that pass too")
    args = parser.parse_args()
    Run.verbose = args.verbose
    work = args.keep or tempfile.mkdtemp(prefix="vector-oracles-")
    os.makedirs(work, exist_ok=True)
    try:
        run = Run(os.path.abspath(args.build_dir), work)
        generated_folder = os.path.join(work, "generated")
        os.makedirs(generated_folder, exist_ok=True)
        generated = generate.generate(generated_folder, 24)
        installed = installed_files()
        if not installed:
            run.check("installed XML", "none found (packages iso-codes and shared-mime-info)")
        candidates = corpus("wellformed") + generated + installed
        accepted = [p for p in candidates if well_formed(p)]
        rejected = [p for p in candidates if p not in accepted]
        rejected += corpus("rejected") + corpus("fuzz")
        for p in corpus("rejected"):
            run.check("libxml2 rejects " + os.path.basename(p),
                      None if not well_formed(p) else "it accepts the file")
        for p in corpus("wellformed") + generated:
            run.check("well-formed " + os.path.basename(p),
                      None if p in accepted else "libxml2 rejects the file")

        # (a) our trees against libxml2's and expat's
        ours = run.dump(accepted)
        for path in accepted:
            lines = ours.get(path, ["!! no output"])
            name = os.path.basename(path)
            if any(l.startswith("!!") for l in lines):
                run.check("load " + name, "; ".join(l for l in lines if l.startswith("!!")))
                continue
            records = parse_tree_text(lines)
            run.check("libxml2 tree of " + name, compare_lxml(records, lxml_records(path)))
            try:
                expat = expat_records(path)
            except xml.parsers.expat.ExpatError as e:
                run.check("expat reads " + name, str(e))
                continue
            run.check("expat tree of " + name, compare_expat(records, expat))

        # (b) what our writer saves is well-formed and reads back in libxml2
        saved = {}
        for indent in (False, True):
            folder = os.path.join(work, "saved-indented" if indent else "saved-flat")
            os.makedirs(folder, exist_ok=True)
            pairs = [(p, os.path.join(folder, "%03d-%s" % (i, os.path.basename(p))))
                     for i, p in enumerate(accepted)]
            code, err = run.save(pairs, indent)
            run.check("save " + os.path.basename(folder), err.strip() or None)
            saved[indent] = [out for _, out in pairs]
        outputs = saved[False] + saved[True]
        lint = subprocess.run(["xmllint", "--noout"] + outputs, capture_output=True, text=True)
        run.check("xmllint --noout over %d saved files" % len(outputs),
                  lint.stderr.strip()[:2000] or (None if lint.returncode == 0 else "exit %d" % lint.returncode))
        reread = run.dump(outputs)
        for path in outputs:
            records = parse_tree_text(reread.get(path, []))
            run.check("libxml2 reads back " + os.path.relpath(path, work),
                      compare_lxml(records, lxml_records(path, map_escapes=True)))

        # (c) files libxml2 rejects: load without exceptions, save stably
        folder = os.path.join(work, "rejected")
        os.makedirs(folder, exist_ok=True)
        first = [(p, os.path.join(folder, "%03d-1-%s" % (i, os.path.basename(p)))) for i, p in enumerate(rejected)]
        second = [(o, o.replace("-1-", "-2-")) for _, o in first]
        for indent in (False, True):
            for pairs in (first, second):
                code, err = run.save(pairs, indent)
                run.check("save rejected files%s" % (" indented" if indent else ""), err.strip() or None)
            for (source, one), (_, two) in zip(first, second):
                with open(one, "rb") as a, open(two, "rb") as b:
                    run.check("stable save of " + os.path.basename(source),
                              None if a.read() == b.read() else "the second save differs")
        print("oracles: %d passed, %d failed" % (run.passed, run.failed))
        return 1 if run.failed else 0
    finally:
        if not args.keep:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
