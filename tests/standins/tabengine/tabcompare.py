#!/usr/bin/env python3
"""Compares tables as the engine sees them (tabtool dump) with GDAL's view of them.

  tabcompare.py csv  DUMP GDAL.csv TOL   engine dump vs GDAL's CSV (WKT + attributes + OGR_STYLE)
  tabcompare.py dump DUMP_A DUMP_B TOL   two engine dumps, numbers within TOL

Exit status 0 when they agree; every difference is printed.
"""
import csv
import math
import re
import sys

csv.field_size_limit(1 << 30)


def parse_dump(path):
    rows, header, cur, stack = [], {}, None, []
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line.startswith(" "):
                key, _, rest = line.partition(" ")
                if key == "row":
                    cur = {"id": int(rest.split()[0]), "broken": "broken" in rest, "values": {},
                           "geom": None}
                    rows.append(cur)
                else:
                    header.setdefault(key, []).append(rest)
                continue
            depth = (len(line) - len(line.lstrip(" "))) // 2
            key, _, rest = line.strip().partition(" ")
            if key == "value":
                name, _, val = rest.partition(" ")
                cur["values"][name] = unquote(val)
            elif key == "geometry":
                g = {"type": rest, "parts": [], "members": []}
                del stack[depth - 1:]
                if stack:
                    stack[-1]["members"].append(g)
                else:
                    cur["geom"] = g
                stack.append(g)
            else:
                g = stack[-1]
                if key == "part":
                    nums = [float(t) for t in rest.split()[1:]]
                    g["parts"].append(list(zip(nums[0::2], nums[1::2])))
                elif key in ("text",):
                    g[key] = unquote(rest)
                else:
                    g[key] = rest
    return header, rows


def unquote(s):
    s = s.strip()
    if s.startswith('"') and s.endswith('"'):
        s = s[1:-1]
    return s.replace('\\"', '"').replace("\\n", "\n")


def numbers(s):
    return [float(t) for t in re.findall(r"-?\d+(?:\.\d+)?(?:[eE][-+]?\d+)?", s)]


def parse_wkt(w):
    """Returns (kind, parts): parts as lists of (x, y)."""
    w = w.strip()
    if not w:
        return "EMPTY", []
    kind = w.split("(")[0].strip().upper()
    body = w[len(kind):].strip()
    parts = []
    # Innermost parenthesised coordinate lists, in order.
    for grp in re.findall(r"\(([^()]*)\)", body):
        pts = []
        for pair in grp.split(","):
            xy = pair.split()
            if len(xy) >= 2:
                pts.append((float(xy[0]), float(xy[1])))
        if pts:
            parts.append(pts)
    if kind == "MULTIPOINT":
        parts = [[p for part in parts for p in part]]
    return kind, parts


def close(a, b, tol):
    return abs(a - b) <= tol


def parts_equal(a, b, tol):
    if len(a) != len(b):
        return False
    for pa, pb in zip(a, b):
        if len(pa) != len(pb):
            return False
        for (x1, y1), (x2, y2) in zip(pa, pb):
            if not (close(x1, x2, tol) and close(y1, y2, tol)):
                return False
    return True


def ring_key(r):
    return sorted((round(x, 3), round(y, 3)) for x, y in r)


def rgb(style, key):
    m = re.search(key + r":#([0-9a-fA-F]{6})", style)
    return int(m.group(1), 16) if m else None


def style_part(style, name):
    m = re.search(name + r"\((.*?)\)(;|$)", style, re.S)
    return m.group(1) if m else ""


def check_pen(errs, g, style):
    pen = style_part(style, "PEN")
    w, pattern, color = (int(v) for v in g["pen"].split())
    if rgb(pen, "c") != color:
        errs.append("pen colour %s vs %s" % (pen, g["pen"]))
    m = re.search(r"mapinfo-pen-(\d+)", pen)
    if not m or int(m.group(1)) != pattern:
        errs.append("pen pattern %s vs %s" % (pen, g["pen"]))
    m = re.search(r"w:(\d+)px", pen)
    if w <= 7 and (not m or int(m.group(1)) != w):
        errs.append("pen width %s vs %s" % (pen, g["pen"]))


def check_brush(errs, g, style):
    br = style_part(style, "BRUSH")
    pattern, fore, back = g["brush"].split()
    if rgb(br, "fc") != int(fore):
        errs.append("brush fore %s vs %s" % (br, g["brush"]))
    if back == "transparent":
        if rgb(br, "bc") is not None:
            errs.append("brush should be transparent: %s" % br)
    elif rgb(br, "bc") != int(back):
        errs.append("brush back %s vs %s" % (br, g["brush"]))
    m = re.search(r"mapinfo-brush-(\d+)", br)
    if not m or int(m.group(1)) != int(pattern):
        errs.append("brush pattern %s vs %s" % (br, g["brush"]))


def check_symbol(errs, g, style):
    sym = style_part(style, "SYMBOL")
    f = g["symbol"].split(" ", 4)
    kind, color, size = int(f[0]), int(f[1]), int(f[2])
    m = re.search(r"s:(\d+)pt", sym)
    if not m or int(m.group(1)) != size:
        errs.append("symbol size %s vs %s" % (sym, g["symbol"]))
    if kind == 0:
        if rgb(sym, "c") != color or ("mapinfo-sym-%s," % f[3]) not in sym:
            errs.append("symbol %s vs %s" % (sym, g["symbol"]))
    elif kind == 1:
        name = re.search(r'"(.*)"', g["symbol"]).group(1)
        if rgb(sym, "c") != color or ("font-sym-%s," % f[3]) not in sym or name not in sym:
            errs.append("font symbol %s vs %s" % (sym, g["symbol"]))
    else:
        name = re.search(r'"(.*)"', g["symbol"]).group(1)
        style_no = g["symbol"].split()[-1]
        if ("mapinfo-custom-sym-%s-%s" % (style_no, name)) not in sym:
            errs.append("custom symbol %s vs %s" % (sym, g["symbol"]))


def arc_ends(g):
    x0, y0, x1, y1 = (float(v) for v in g["box"].split())
    a, b = (float(v) for v in g["angles"].split())
    cx, cy, rx, ry = (x0 + x1) / 2, (y0 + y1) / 2, (x1 - x0) / 2, (y1 - y0) / 2
    pt = lambda t: (cx + rx * math.cos(math.radians(t)), cy + ry * math.sin(math.radians(t)))
    return pt(a), pt(b)


def compare_geometry_csv(g, wkt, style, tol):
    errs = []
    kind, parts = parse_wkt(wkt)
    t = g["type"]
    expect = {"None": ("EMPTY",), "Point": ("POINT",), "Line": ("LINESTRING",),
              "Polyline": ("LINESTRING", "MULTILINESTRING"), "Region": ("POLYGON", "MULTIPOLYGON"),
              "Rect": ("POLYGON",), "RoundRect": ("POLYGON",), "Ellipse": ("POLYGON",),
              "Arc": ("LINESTRING",), "Text": ("POINT",), "MultiPoint": ("MULTIPOINT",),
              "Collection": ("GEOMETRYCOLLECTION",)}
    if kind not in expect.get(t, ()):
        return ["geometry %s read by GDAL as %s" % (t, kind)]
    if t == "Collection":
        # Compared vertex by vertex in part order: region, polyline, multipoint.
        mine = [p for m in g["members"] for part in m["parts"] for p in part]
        theirs = [p for part in parts for p in part]
        if not parts_equal([mine], [theirs], tol):
            errs.append("collection differs: %s vs %s" % (mine, theirs))
    elif t in ("Point", "Line", "Polyline", "MultiPoint"):
        if not parts_equal(g["parts"], parts, tol):
            errs.append("coordinates differ: %s vs %s" % (g["parts"], parts))
    elif t == "Region":
        mine = sorted(ring_key(r) for r in g["parts"])
        theirs = sorted(ring_key(r) for r in parts)
        if len(mine) != len(theirs) or not all(
                parts_equal([list(a)], [list(b)], tol) for a, b in zip(mine, theirs)):
            errs.append("rings differ: %s vs %s" % (g["parts"], parts))
    elif t in ("Rect", "RoundRect", "Ellipse"):
        xs = [p[0] for p in parts[0]]
        ys = [p[1] for p in parts[0]]
        box = [float(v) for v in g["box"].split()]
        # GDAL draws ellipses and rounded corners as polygons that only approach the box.
        t2 = tol if t == "Rect" else max(tol, 0.01 * (box[2] - box[0] + box[3] - box[1]))
        if not all(close(a, b, t2) for a, b in zip(box, [min(xs), min(ys), max(xs), max(ys)])):
            errs.append("box %s vs envelope %s" % (box, [min(xs), min(ys), max(xs), max(ys)]))
    elif t == "Arc":
        (sx, sy), (ex, ey) = arc_ends(g)
        p0, p1 = parts[0][0], parts[0][-1]
        if not (close(sx, p0[0], 10 * tol) and close(sy, p0[1], 10 * tol) and
                close(ex, p1[0], 10 * tol) and close(ey, p1[1], 10 * tol)):
            errs.append("arc ends %s vs %s" % (((sx, sy), (ex, ey)), (p0, p1)))
    elif t == "Text":
        # The box is the MBR of the turned text; its height is the unturned line height, and
        # the origin (the point GDAL reports) is the turned box's lower-left corner.
        x0, y0, x1, y1 = (float(v) for v in g["box"].split())
        h = y1 - y0
        a = math.radians(float(g["layout"].split()[2]))
        sn, cs = math.sin(a), math.cos(a)
        sn = 0 if abs(sn) < 1e-12 else sn
        cs = 0 if abs(cs) < 1e-12 else cs
        if sn > 0 and cs > 0:
            origin = (x0 + h * sn, y0)
        elif sn > 0 and cs <= 0:
            origin = (x1, y0 - h * cs)
        elif sn <= 0 and cs < 0:
            origin = (x1 + h * sn, y1)
        else:
            origin = (x0, y1 - h * cs)
        # GDAL derives the origin from the quantised text height: allow a few grid cells.
        t2 = max(tol, 0.02)
        px, py = parts[0][0]
        if sn == 0:
            if not (close(origin[0], px, t2) and close(origin[1], py, t2)):
                errs.append("text origin %s vs %s" % (origin, parts[0][0]))
        else:
            # A table written by GDAL may store another line height than the box's; the origin
            # is then still a corner of the turned box, on the MBR's boundary.
            on_edge = ((close(px, x0, t2) or close(px, x1, t2)) and y0 - t2 <= py <= y1 + t2) or \
                      ((close(py, y0, t2) or close(py, y1, t2)) and x0 - t2 <= px <= x1 + t2)
            if not on_edge:
                errs.append("text origin %s off the box %s" % (parts[0][0], (x0, y0, x1, y1)))
        label = style_part(style, "LABEL")
        m = re.search(r't:"(.*?)"(,|$)', label, re.S)
        if not m or m.group(1).replace('\\"', '"') != g["text"]:
            errs.append("text %r vs %r" % (label, g["text"]))
        font = g["font"]
        fore = int(re.search(r'" \d+ (\d+)', font).group(1))
        name = re.search(r'"(.*)"', font).group(1)
        if rgb(label, "c") != fore or ('f:"%s"' % name) not in label:
            errs.append("text font %s vs %s" % (label, font))
        angle = float(g["layout"].split()[2])
        m = re.search(r"a:(-?[\d.]+)", label)
        if not m or not close(float(m.group(1)), angle, 0.05):
            errs.append("text angle %s vs %s" % (label, angle))
    if "pen" in g and t != "Text":
        check_pen(errs, g, style)
    if "brush" in g:
        check_brush(errs, g, style)
    if "symbol" in g:
        check_symbol(errs, g, style)
    return errs


def gdal_value(v):
    """GDAL's CSV formatting of dates and times -> MID text."""
    m = re.fullmatch(r"(\d{4})/(\d\d)/(\d\d)", v)
    if m:
        return "".join(m.groups())
    m = re.fullmatch(r"(\d\d):(\d\d):(\d\d)(?:\.(\d{1,3}))?", v)
    if m:
        return m.group(1) + m.group(2) + m.group(3) + (m.group(4) or "0").ljust(3, "0")
    m = re.fullmatch(r"(\d{4})/(\d\d)/(\d\d) (\d\d):(\d\d):(\d\d)(?:\.(\d{1,3}))?", v)
    if m:
        return "".join(m.groups()[:6]) + (m.group(7) or "0").ljust(3, "0")
    return v


def values_equal(mine, theirs):
    theirs = gdal_value(theirs)
    if mine == theirs:
        return True
    try:
        return abs(float(mine or 0) - float(theirs or 0)) <= 1e-9 * max(1, abs(float(theirs or 0)))
    except ValueError:
        return False


def compare_csv(dump, csvpath, tol):
    _, rows = parse_dump(dump)
    with open(csvpath, encoding="utf-8", newline="") as f:
        recs = list(csv.DictReader(f))
    errs = []
    if len(rows) != len(recs):
        errs.append("row count %d vs GDAL %d" % (len(rows), len(recs)))
    for row, rec in zip(rows, recs):
        for e in compare_geometry_csv(row["geom"], rec.get("WKT", ""), rec.get("OGR_STYLE", ""), tol):
            errs.append("row %d: %s" % (row["id"], e))
        for name, val in row["values"].items():
            if name not in rec:
                errs.append("row %d: GDAL has no column %s" % (row["id"], name))
            elif not values_equal(val, rec[name]):
                errs.append("row %d: %s = %r vs GDAL %r" % (row["id"], name, val, rec[name]))
    return errs


def compare_dumps(a, b, tol):
    ha, ra = parse_dump(a)
    hb, rb = parse_dump(b)
    errs = []
    if len(ra) != len(rb):
        errs.append("row count %d vs %d" % (len(ra), len(rb)))
    for x, y in zip(ra, rb):
        for e in diff_geom(x["geom"], y["geom"], tol):
            errs.append("row %d: %s" % (x["id"], e))
        if x["values"] != y["values"]:
            errs.append("row %d: values %s vs %s" % (x["id"], x["values"], y["values"]))
    return errs


def diff_geom(g, h, tol):
    if g is None or h is None:
        return [] if g is h else ["geometry missing"]
    errs = []
    if g["type"] != h["type"]:
        return ["type %s vs %s" % (g["type"], h["type"])]
    if not parts_equal(g["parts"], h["parts"], tol):
        errs.append("coordinates differ")
    for k in set(g) | set(h):
        # GDAL drops a region's label point (Center) when it copies features.
        if k in ("type", "parts", "members", "center"):
            continue
        # GDAL re-derives the text box from the height and the string's length.
        ktol = max(tol, 0.1) if (k == "box" and g["type"] == "Text") else tol
        a, b = g.get(k), h.get(k)
        if a is None or b is None:
            errs.append("%s only on one side" % k)
            continue
        na, nb = numbers(str(a)), numbers(str(b))
        sa = re.sub(r"-?\d+(?:\.\d+)?", "#", str(a))
        sb = re.sub(r"-?\d+(?:\.\d+)?", "#", str(b))
        if sa != sb or len(na) != len(nb) or not all(close(p, q, ktol) for p, q in zip(na, nb)):
            errs.append("%s: %s vs %s" % (k, a, b))
    for m, n in zip(g["members"], h["members"]):
        errs += diff_geom(m, n, tol)
    if len(g["members"]) != len(h["members"]):
        errs.append("member count differs")
    return errs


def main():
    mode, a, b, tol = sys.argv[1], sys.argv[2], sys.argv[3], float(sys.argv[4])
    errs = compare_csv(a, b, tol) if mode == "csv" else compare_dumps(a, b, tol)
    for e in errs:
        print(e)
    print("%s: %d difference(s)" % (mode, len(errs)))
    return 1 if errs else 0


if __name__ == "__main__":
    sys.exit(main())
