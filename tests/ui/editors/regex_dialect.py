"""The mask dialect of the regular-expression engine read independently of it, for the
differential tests and the benchmark: a pattern is translated into an equivalent PCRE2 pattern
(16-bit, no UTF) and into a sampler of matching texts; what the dialect refuses raises
DialectError.

Translation table (dialect -> PCRE2):
  the whole text               \\A(?:...)\\z, compiled with DOTALL
  blanks outside quotes        dropped (inside classes and counts too)
  "^", "$" and any literal     \\x{hhhh}
  'quoted text'                each character literal, '' is one quote
  "."                          any character (DOTALL)
  "/", ":", "\\p"              the current date, time and decimal separators
  "\\0"                        "0";  \\xHH: that character;  other escaped letters literal
  "\\d" "\\w" "\\s"            [0-9], [A-Za-z0-9_], [\\x00\\t\\n\\f\\r ] (and their complements)
  classes                      the set of code units they accept, as ranges
  (...)                        (?:...)
  "\\1" - "\\9"                a textual copy of the numbered block as parsed so far (its
                               contents and its own quantifier); after a count replaced the
                               block, the block as it was before
  stacked quantifiers          wraps: a*? is (?:a*)?, a++ is (?:a+)+
  X{n,m}                       (?:X){n,m}
"""

import copy
import ctypes
import random

BLANKS = "\x00\t\n\x0c\r "
MAXCH = 0xFFFF


class DialectError(Exception):
    pass


# ---------------------------------------------------------------------------
# Character sets as sorted, disjoint, inclusive code ranges.

def norm(ranges):
    out = []
    for a, b in sorted(ranges):
        if out and a <= out[-1][1] + 1:
            out[-1] = (out[-1][0], max(out[-1][1], b))
        else:
            out.append((a, b))
    return out


def complement(ranges):
    out, lo = [], 0
    for a, b in norm(ranges):
        if a > lo:
            out.append((lo, a - 1))
        lo = b + 1
    if lo <= MAXCH:
        out.append((lo, MAXCH))
    return out


def contains(ranges, c):
    o = ord(c)
    return any(a <= o <= b for a, b in ranges)


DIGIT = [(0x30, 0x39)]
WORD = norm([(0x30, 0x39), (0x41, 0x5A), (0x61, 0x7A), (0x5F, 0x5F)])
SPACE = norm([(0, 0), (9, 10), (12, 13), (32, 32)])
ALL = [(0, MAXCH)]


def single(c):
    return [(ord(c), ord(c))]


def set_pcre(ranges):
    if not ranges:
        return "(*FAIL)"
    if ranges == ALL:
        return "."
    parts = []
    for a, b in ranges:
        parts.append("\\x{%x}" % a if a == b else "\\x{%x}-\\x{%x}" % (a, b))
    return "[" + "".join(parts) + "]"


# ---------------------------------------------------------------------------
# The tree: what the engine builds, seen through its language and its quantifiers.

REPEAT = {"?": (0, 1), "*": (0, 3), "+": (1, 3)}


class Node:
    direct = None  # the item's own quantifier: None, "?", "*" or "+"

    def pcre(self):
        base = self.base_pcre()
        return "(?:%s)%s" % (base, self.direct) if self.direct else base

    def can_empty(self):
        return self.direct in ("?", "*") or self.base_can_empty()

    def sample(self, rng, pool):
        lo, hi = REPEAT[self.direct] if self.direct else (1, 1)
        return "".join(self.base_sample(rng, pool) for _ in range(rng.randint(lo, hi)))


class Atom(Node):
    def __init__(self, ranges):
        self.ranges = norm(ranges)

    def base_pcre(self):
        return set_pcre(self.ranges)

    def base_can_empty(self):
        return False

    def base_sample(self, rng, pool):
        choices = [c for c in pool if contains(self.ranges, c)]
        if choices:
            return rng.choice(choices)
        if not self.ranges:
            raise DialectError("empty set")
        a, b = rng.choice(self.ranges)
        return chr(rng.randint(a, min(b, a + 50)))


class Block(Node):
    def __init__(self):
        self.alts = []

    def base_pcre(self):
        return "(?:%s)" % "|".join("".join(n.pcre() for n in alt) for alt in self.alts)

    def base_can_empty(self):
        return any(all(n.can_empty() for n in alt) for alt in self.alts)

    def base_sample(self, rng, pool):
        alt = rng.choice(self.alts)
        return "".join(n.sample(rng, pool) for n in alt)


class Wrap(Node):
    def __init__(self, inner, q):
        self.inner, self.direct = inner, q

    def base_pcre(self):
        return "(?:%s)" % self.inner.pcre()

    def base_can_empty(self):
        return self.inner.can_empty()

    def base_sample(self, rng, pool):
        return self.inner.sample(rng, pool)


class Count(Node):
    def __init__(self, inner, n, m):
        self.inner, self.n, self.m = inner, n, m
        self.direct = "?" if n == 0 else None

    def base_pcre(self):
        hi = "" if self.m is None else str(self.m)
        count = "{%d}" % self.n if self.m == self.n else "{%d,%s}" % (self.n, hi)
        return "(?:(?:%s)%s)" % (self.inner.pcre(), count)

    def base_can_empty(self):
        return self.n == 0 or self.inner.can_empty()

    def base_sample(self, rng, pool):
        hi = self.n + 2 if self.m is None else self.m
        return "".join(self.inner.sample(rng, pool) for _ in range(rng.randint(self.n, hi)))


# ---------------------------------------------------------------------------
# Reading the dialect

class Reader:
    def __init__(self, text, seps):
        self.t, self.i = text, 0
        self.date, self.time, self.decimal = seps
        self.tokens = []

    def eof(self):
        return self.i >= len(self.t)

    def get(self):
        c = self.t[self.i]
        self.i += 1
        return c

    def peek_past_blanks(self):
        j = self.i
        while j < len(self.t) and self.t[j] in BLANKS:
            j += 1
        return self.t[j] if j < len(self.t) else None

    def tokenize(self):
        depth = 0
        while not self.eof():
            c = self.get()
            if c in BLANKS:
                continue
            if c in "()*+?|":
                depth += {"(": 1, ")": -1}.get(c, 0)
                self.tokens.append(("sp", c))
            elif c == "[":
                self.tokens.append(("set", self.read_class()))
            elif c == "{":
                self.tokens.append(("count", self.read_count()))
            elif c == "'":
                for q in self.read_quoted():
                    self.tokens.append(("set", single(q)))
            elif c == "\\":
                tok = self.read_escape(False)
                if tok:
                    self.tokens.append(tok)
            elif c == ".":
                self.tokens.append(("set", ALL))
            elif c == "/":
                self.tokens.append(("set", single(self.date)))
            elif c == ":":
                self.tokens.append(("set", single(self.time)))
            else:
                self.tokens.append(("set", single(c)))
        if depth != 0:
            raise DialectError("unbalanced parentheses")
        return self.tokens

    def read_quoted(self):
        out = []
        while True:
            if self.eof():
                raise DialectError("missing quote")
            c = self.get()
            if c == "'":
                if not self.eof() and self.t[self.i] == "'":
                    self.get()
                else:
                    return out
            out.append(c)

    def read_escape(self, in_class):
        if self.eof():
            return None
        c = self.get()
        if c in BLANKS:
            raise DialectError("blank after backslash")
        sets = {"d": DIGIT, "D": complement(DIGIT), "w": WORD, "W": complement(WORD),
                "s": SPACE, "S": complement(SPACE)}
        if c in sets:
            return ("set", sets[c])
        controls = {"a": 7, "e": 27, "f": 12, "n": 10, "r": 13, "t": 9}
        if c in controls:
            return ("sym", chr(controls[c]))
        if c == "p":
            return ("sym", self.decimal)
        if c == "x":
            if len(self.t) - self.i < 2:
                raise DialectError("hex expected")
            h = self.get() + self.get()
            try:
                return ("sym", chr(int(h, 16)))
            except ValueError:
                raise DialectError("hex expected")
        if c in "123456789" and not in_class:
            return ("ref", int(c))
        return ("sym", c)

    def read_class(self):
        members, inverse, first = [], False, True
        pending = None  # a member that may start a range
        members_ranges = []
        items = []  # ("m", ranges, char) or ("-",)
        caret_allowed = True
        while True:
            if self.eof():
                raise DialectError("missing ]")
            c = self.get()
            if c in BLANKS:
                continue
            if c == "]":
                break
            if c == "^" and caret_allowed:
                inverse, caret_allowed = True, False
                continue
            caret_allowed = False
            if c == "-":
                if first or self.peek_past_blanks() == "]":
                    items.append(("m", single("-"), "-"))
                else:
                    items.append(("-",))
            elif c == "\\":
                tok = self.read_escape(True)
                if tok is None:
                    continue
                if tok[0] == "set":
                    items.append(("m", tok[1], None))
                else:
                    items.append(("m", single(tok[1]), tok[1]))
            elif c == "'":
                for q in self.read_quoted():
                    items.append(("m", single(q), q))
            elif c == "/":
                items.append(("m", single(self.date), "/"))
            elif c == ":":
                items.append(("m", single(self.time), ":"))
            else:
                items.append(("m", single(c), c))
            first = False
        if not items:
            raise DialectError("empty class")
        k = 0
        while k < len(items):
            it = items[k]
            if it[0] == "-":
                raise DialectError("illegal -")
            if k + 1 < len(items) and items[k + 1][0] == "-":
                if k + 2 >= len(items) or items[k + 2][0] == "-":
                    raise DialectError("illegal -")
                lo, hi = it[2], items[k + 2][2]
                if lo is None or hi is None or ord(lo) >= ord(hi):
                    raise DialectError("range order or class escape in range")
                members_ranges.append([(ord(lo), ord(hi))])
                k += 3
                if k < len(items) and items[k][0] == "-":
                    raise DialectError("illegal - after range")
                continue
            members_ranges.append(it[1])
            k += 1
        union = norm([r for m in members_ranges for r in m])
        return complement(union) if inverse else union

    def read_count(self):
        parts = []
        while True:
            if self.eof():
                raise DialectError("missing }")
            c = self.get()
            if c in BLANKS:
                continue
            if c.isdigit() and c in "0123456789":
                d = c
                while not self.eof() and self.t[self.i] in "0123456789":
                    d += self.get()
                parts.append(int(d))
            elif c == ",":
                parts.append(",")
            elif c == "}":
                break
            else:
                raise DialectError("illegal in count")
        if len(parts) == 1 and isinstance(parts[0], int):
            return (parts[0], parts[0])
        if len(parts) == 2 and isinstance(parts[0], int) and parts[1] == ",":
            return (parts[0], None)
        if (len(parts) == 3 and isinstance(parts[0], int) and parts[1] == ","
                and isinstance(parts[2], int) and parts[2] >= parts[0]):
            return (parts[0], parts[2])
        raise DialectError("incorrect count")


class Parser:
    def __init__(self, tokens):
        self.tokens, self.k, self.blocks = tokens, 0, []

    def parse(self):
        top = Block()
        self.parse_alts(top.alts, True)
        return top

    def parse_alts(self, alts, top):
        while True:
            alt = []
            alts.append(alt)
            how = self.parse_alt(alt, top)
            if how == "bar":
                continue
            if how == "close" and top:
                raise DialectError("illegal )")
            return

    def parse_alt(self, alt, top):
        if self.k >= len(self.tokens):
            raise DialectError("empty alternative")
        if self.tokens[self.k] == ("sp", "|"):
            raise DialectError("empty alternative")
        if self.tokens[self.k] == ("sp", ")"):
            raise DialectError("empty block" if not top else "illegal )")
        while self.k < len(self.tokens):
            kind, value = self.tokens[self.k]
            self.k += 1
            if kind in ("set", "sym"):
                alt.append(Atom(value if kind == "set" else single(value)))
            elif kind == "ref":
                if value > len(self.blocks):
                    raise DialectError("reference to an unopened block")
                alt.append(copy.deepcopy(self.blocks[value - 1]))
            elif kind == "count":
                if not alt:
                    raise DialectError("count without item")
                if alt[-1].direct in ("?", "*"):
                    raise DialectError("count on an optional item")
                alt[-1] = Count(alt[-1], *value)
            elif value == "(":
                b = Block()
                self.blocks.append(b)
                self.parse_alts(b.alts, False)
                alt.append(b)
            elif value in "*+?":
                if not alt:
                    raise DialectError("quantifier without item")
                cur = alt[-1]
                if value in "*+" and cur.can_empty():
                    raise DialectError("repeat of what can be empty")
                if cur.direct is None:
                    cur.direct = value
                else:
                    alt[-1] = Wrap(cur, value)
            elif value == ")":
                return "close"
            elif value == "|":
                return "bar"
        return "end"


def translate(pattern, seps):
    """(PCRE2 pattern, tree) of a dialect pattern; raises DialectError where the dialect
    refuses it. seps: the (date, time, decimal) separators."""
    if all(c in BLANKS for c in pattern):
        raise DialectError("empty pattern")
    tree = Parser(Reader(pattern, seps).tokenize()).parse()
    return "\\A(?:%s)\\z" % tree.base_pcre(), tree


# ---------------------------------------------------------------------------
# PCRE2, 16-bit, through its C library

PCRE2_DOTALL = 0x20
PCRE2_PARTIAL_HARD = 0x20
PCRE2_ERROR_NOMATCH = -1
PCRE2_ERROR_PARTIAL = -2
PCRE2_ERROR_DFA_WSSIZE = -43


class Pcre16:
    def __init__(self):
        lib = ctypes.CDLL("libpcre2-16.so.0")
        self.compile = lib.pcre2_compile_16
        self.compile.restype = ctypes.c_void_p
        self.compile.argtypes = [ctypes.c_void_p, ctypes.c_size_t, ctypes.c_uint32,
                                 ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_size_t),
                                 ctypes.c_void_p]
        self.md_create = lib.pcre2_match_data_create_from_pattern_16
        self.md_create.restype = ctypes.c_void_p
        self.md_create.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        # The DFA matcher: nested quantifiers of generated patterns make the back-tracking
        # one take exponential time; the two agree on whether and how a text matches.
        self.dfa_match = lib.pcre2_dfa_match_16
        self.dfa_match.restype = ctypes.c_int
        self.dfa_match.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_size_t,
                                   ctypes.c_size_t, ctypes.c_uint32, ctypes.c_void_p,
                                   ctypes.c_void_p, ctypes.POINTER(ctypes.c_int), ctypes.c_size_t]

    @staticmethod
    def units(s):
        return (ctypes.c_uint16 * max(len(s), 1))(*[ord(c) for c in s])

    def pattern(self, source):
        err, off = ctypes.c_int(), ctypes.c_size_t()
        code = self.compile(self.units(source), len(source), PCRE2_DOTALL, ctypes.byref(err),
                            ctypes.byref(off), None)
        if not code:
            raise RuntimeError("PCRE2 refuses %r: error %d at %d" % (source, err.value, off.value))
        return Compiled(self, code)


class Compiled:
    def __init__(self, pcre, code):
        self.pcre, self.code = pcre, code
        self.md = pcre.md_create(code, None)
        self.memo = {}

    def _run(self, text, options):
        size = 4096
        while True:
            work = (ctypes.c_int * size)()
            rc = self.pcre.dfa_match(self.code, Pcre16.units(text), len(text), 0, options,
                                     self.md, None, work, size)
            if rc != PCRE2_ERROR_DFA_WSSIZE:
                return rc
            size *= 4

    def viable(self, text):
        """The text is a prefix of some match (or a match)."""
        key = (text, 1)
        if key not in self.memo:
            rc = self._run(text, PCRE2_PARTIAL_HARD)
            if rc < 0 and rc not in (PCRE2_ERROR_PARTIAL, PCRE2_ERROR_NOMATCH):
                raise RuntimeError("PCRE2 error %d" % rc)
            self.memo[key] = rc >= 0 or rc == PCRE2_ERROR_PARTIAL
        return self.memo[key]

    def full(self, text):
        key = (text, 0)
        if key not in self.memo:
            rc = self._run(text, 0)
            if rc < 0 and rc != PCRE2_ERROR_NOMATCH:
                raise RuntimeError("PCRE2 error %d" % rc)
            self.memo[key] = rc >= 0
        return self.memo[key]


def sample(tree, rng, pool):
    return tree.base_sample(rng, pool)
