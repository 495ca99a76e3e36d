"""Judges a run with tools that are not the program's: GDAL reads the tables, PROJ (cs2cs)
reprojects, and the similarity transform is written out here from its definition."""
import hashlib
import math
import os
import re
import subprocess
import xml.etree.ElementTree as ET

from osgeo import gdal, ogr, osr

gdal.UseExceptions()
ogr.UseExceptions()
gdal.SetConfigOption('MITAB_BOUNDS_FILE', '/dev/null')

SHIFT_NORTH, SHIFT_EAST = 7000000.0, 4000000.0
ELLIPSOIDS = {3: '+ellps=krass', 28: '+ellps=WGS84', 0: '+ellps=GRS80'}
DATUM_1001 = '+ellps=krass +towgs84=24,-123,-94,0.02,-0.25,-0.13,1.1'


def _num(text):
    return float((text or '0').strip().replace(',', '.') or 0)


class Formation:
    """One municipal formation of the parameter file, read here on its own."""

    def __init__(self, item):
        g = item.get
        self.caption = g('Caption')
        self.xold, self.yold = _num(g('xold')), _num(g('yold'))
        self.xnew, self.ynew = _num(g('xnew')), _num(g('ynew'))
        self.angle = _num(g('angleDeg')) + _num(g('angleMin')) / 60 + _num(g('angleSec')) / 3600
        self.scale = _num(g('scale'))
        self.msk89, self.sk63 = g('msk89'), g('sk63')

    def forward(self, east, north):
        """Old conventional system to MSK-89: rotate by the angle about the origin, scale,
        and move the origin."""
        a = math.radians(self.angle)
        dx, dy = north - self.xold, east - self.yold
        n = self.xnew + self.scale * (math.cos(a) * dx - math.sin(a) * dy)
        e = self.ynew + self.scale * (math.sin(a) * dx + math.cos(a) * dy)
        return e, n

    def inverse(self, east, north):
        a = -math.radians(self.angle)
        k = 1.0 / self.scale
        dx, dy = north - self.xnew, east - self.ynew
        n = self.xold + k * (math.cos(a) * dx - math.sin(a) * dy)
        e = self.yold + k * (math.sin(a) * dx + math.cos(a) * dy)
        return e, n


def formations(xml_path):
    root = ET.parse(xml_path).getroot()
    return [Formation(i) for i in root if i.tag.lower() == 'item']


def proj_of(tail):
    """PROJ string of a MapInfo "Earth Projection" tail (only the forms the suite uses)."""
    parts = [p.strip().strip('"') for p in tail.split(',')]
    kind = int(parts[0])
    if kind == 1:
        return '+proj=longlat ' + ('+datum=WGS84' if parts[1] == '104' else DATUM_1001)
    if parts[1] == '1001':
        datum, rest = DATUM_1001, parts[3:]
    elif parts[1] == '9999':
        ell = int(parts[2])
        dx, dy, dz, rx, ry, rz, s = (float(v) for v in parts[3:10])
        # MapInfo's rotations are coordinate-frame; PROJ's towgs84 is position-vector.
        datum = '%s +towgs84=%g,%g,%g,%g,%g,%g,%g' % (ELLIPSOIDS[ell], dx, dy, dz, -rx, -ry,
                                                        -rz, s)
        rest = parts[12:]
    else:
        raise ValueError('datum not handled: ' + tail)
    lon0, lat0, k, fe, fn = rest[:5]
    return '+proj=tmerc +lat_0=%s +lon_0=%s +k=%s +x_0=%s +y_0=%s %s +units=m +no_defs' % (
        lat0, lon0, k, fe, fn, datum)


def cs2cs(src, dst, points):
    if not points:
        return []
    text = ''.join('%.9f %.9f\n' % p for p in points)
    out = subprocess.run(['cs2cs', '-f', '%.6f'] + src.split() + ['+to'] + dst.split(),
                         input=text.encode(), capture_output=True, check=True).stdout.decode()
    res = []
    for line in out.strip().splitlines():
        a, b = line.split()[:2]
        res.append((float(a), float(b)))
    return res


def expected_points(cls, target, f, points, source_tail=None):
    """Where each (east, north) of an input table of class cls must land for the target:
    the first pass by class, then the second pass by target."""
    msk = proj_of(f.msk89)
    if cls == 1:
        pts = [f.forward(e, n) for e, n in points]
    elif cls == 2:
        pts = cs2cs(proj_of(f.sk63), msk, [(e + SHIFT_EAST, n + SHIFT_NORTH) for e, n in points])
    elif cls == 3:
        pts = list(points)
    elif cls == 4:
        pts = cs2cs(proj_of(f.sk63), msk, points)
    else:
        pts = cs2cs(proj_of(source_tail), msk, points)
    if target == 2:
        pts = [f.inverse(e, n) for e, n in pts]
    return pts


# ---- reading tables through GDAL ----

def _geom_points(g):
    pts = []
    if g is None:
        return pts
    if g.GetGeometryCount():
        for i in range(g.GetGeometryCount()):
            pts += _geom_points(g.GetGeometryRef(i))
    else:
        pts += [(g.GetX(i), g.GetY(i)) for i in range(g.GetPointCount())]
    return pts


def read_table(path):
    """{'count', 'srs', 'fields', 'rows': {id: (attrs, points)}, 'extent'} as GDAL sees it."""
    ds = ogr.Open(path)
    lyr = ds.GetLayer(0)
    defn = lyr.GetLayerDefn()
    fields = [defn.GetFieldDefn(i).GetName() for i in range(defn.GetFieldCount())]
    rows = {}
    for feat in lyr:
        attrs = {n: feat.GetField(n) for n in fields}
        key = attrs.get('id', feat.GetFID())
        rows[key] = (attrs, _geom_points(feat.GetGeometryRef()))
    srs = lyr.GetSpatialRef()
    return {'count': lyr.GetFeatureCount(), 'srs': srs.Clone() if srs else None,
            'fields': fields, 'rows': rows, 'extent': lyr.GetExtent()}


def check_srs(srs, target, f):
    """The output's coordinate system: MSK-89 of the formation for target 1, a non-Earth
    metre plane otherwise."""
    if srs is None:
        return 'no coordinate system'
    if target == 1:
        want = osr.SpatialReference()
        want.ImportFromProj4(proj_of(f.msk89))
        for parm in ('central_meridian', 'false_easting', 'false_northing', 'scale_factor',
                     'latitude_of_origin'):
            a, b = srs.GetProjParm(parm), want.GetProjParm(parm)
            if abs(a - b) > 1e-6:
                return '%s is %s, expected %s' % (parm, a, b)
        if abs(srs.GetSemiMajor() - want.GetSemiMajor()) > 1e-3:
            return 'ellipsoid semi-major %s, expected %s' % (srs.GetSemiMajor(),
                                                              want.GetSemiMajor())
        return None
    if not srs.IsLocal():
        return 'expected a non-Earth system, got ' + srs.ExportToProj4()
    return None


def compare_points(got, want, tol, what):
    if len(got) != len(want):
        return ['%s: %d vertices, expected %d' % (what, len(got), len(want))]
    errs = []
    for i, ((ge, gn), (we, wn)) in enumerate(zip(got, want)):
        d = math.hypot(ge - we, gn - wn)
        if d > tol:
            errs.append('%s vertex %d: (%.3f, %.3f), expected (%.3f, %.3f), off by %.3f m > %g'
                        % (what, i, ge, gn, we, wn, d, tol))
    return errs


# ---- folders ----

def tree_hashes(root):
    out = {}
    for d, _, files in os.walk(root):
        for name in files:
            p = os.path.join(d, name)
            with open(p, 'rb') as fh:
                out[os.path.relpath(p, root)] = hashlib.sha256(fh.read()).hexdigest()
    return out


def diff_hashes(before, after):
    errs = []
    for k in sorted(set(before) | set(after)):
        if k not in after:
            errs.append('input file removed: ' + k)
        elif k not in before:
            errs.append('file added to the input folder: ' + k)
        elif before[k] != after[k]:
            errs.append('input file changed: ' + k)
    return errs


# ---- log ----

def check_order(lines, expected, what):
    """Each expected entry (text or compiled pattern) must appear after the previous one."""
    pos = 0
    for e in expected:
        while pos < len(lines):
            ln = lines[pos]
            pos += 1
            if (e.fullmatch(ln) if isinstance(e, re.Pattern) else ln == e):
                break
        else:
            shown = e.pattern if isinstance(e, re.Pattern) else e
            return ['%s: log line %r missing or out of order' % (what, shown)]
    return []


def table_block(lines, win_path):
    """The log lines of one table: from its path line to the next table's path line."""
    try:
        start = lines.index(win_path)
    except ValueError:
        return None
    end = start + 1
    while end < len(lines) and not re.match(r'^[A-Za-z]:\\', lines[end]):
        end += 1
    return lines[start:end]


# Four numbers with two decimals, the decimal separator of the regional settings.
BOUNDS_RE = re.compile(r'^\s*' + r'\s+'.join([r'(-?\d+[.,]\d\d)'] * 4) + r'$')
