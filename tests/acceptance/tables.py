"""Input tables for the acceptance runs.

Vector tables are written as MIF text and turned into native tables by the table engine's own
command-line tool (tabtool copy); one table goes through GDAL's "MapInfo File" writer instead.
Raster tables are .TAB text beside a TIFF made by ImageMagick.
"""
import os
import struct
import subprocess

# Clause tails as the parameter file's first formation declares them, plus a few foreign ones.
LONGLAT_WGS84 = '1, 104'
TM_FN_SHIFTED = '8, 1001, "m", 66.05, 0, 1, 2500000, -5911057.63'

# (east, north) anchor of each input class; every table's objects sit near it.
CLASS_ANCHORS = {
    1: (18000.0, 12000.0),          # old conventional system: east below 400 000
    2: (450000.0, 380000.0),        # SK-63 without the zone prefix: 400 000 < east < 2 000 000
    3: (2524000.0, 1571000.0),      # MSK-89 plane coordinates
    4: (4450000.0, 7380000.0),      # SK-63 with the zone prefix
    103: (2524000.0, 1571000.0),    # MSK-89 as an Earth projection
    104: (2524000.0, 1471000.0),    # same zone with another false northing
    0: (66.6, 66.53),               # longitude/latitude, WGS 84
}


def nonearth_clause():
    return 'CoordSys NonEarth Units "m" Bounds (-1000000, -1000000) (9000000, 9000000)'


def clause_for_class(cls, msk89):
    if cls in (1, 2, 3, 4):
        return nonearth_clause()
    if cls == 103:
        return 'CoordSys Earth Projection ' + msk89
    if cls == 104:
        return 'CoordSys Earth Projection ' + TM_FN_SHIFTED
    return 'CoordSys Earth Projection ' + LONGLAT_WGS84


def _n(v):
    return repr(round(v, 6))


def objects_around(east, north, step):
    """A small set of every object kind the rewrite transforms: points, a line, polylines
    (plain and multiple) and a region with its centre."""
    e, n, s = east, north, step
    return [
        ('point', [(e, n)]),
        ('point', [(e + 3 * s, n + 1 * s)]),
        ('line', [(e, n + 2 * s), (e + 4 * s, n + 5 * s)]),
        ('pline', [(e, n), (e + s, n + 2 * s), (e + 3 * s, n + 2 * s), (e + 5 * s, n + 4 * s)]),
        ('plinem', [[(e, n + 6 * s), (e + s, n + 7 * s), (e + 2 * s, n + 6 * s)],
                    [(e + 4 * s, n + 8 * s), (e + 6 * s, n + 9 * s)]]),
        ('region', [(e, n), (e + 4 * s, n), (e + 4 * s, n + 3 * s), (e, n + 3 * s), (e, n)]),
        ('point', [(e + 7 * s, n + 7 * s)]),
    ]


def mif_text(clause, objects, names):
    lines = ['Version 300', 'Charset "WindowsCyrillic"', 'Delimiter ","', clause,
             'Columns 3', '  id Integer', '  name Char(40)', '  val Float', 'Data', '']
    mid = []
    for k, (kind, pts) in enumerate(objects, start=1):
        if kind == 'point':
            lines += ['Point %s %s' % (_n(pts[0][0]), _n(pts[0][1])), '    Symbol (35,0,12)']
        elif kind == 'line':
            (a, b), (c, d) = pts
            lines += ['Line %s %s %s %s' % (_n(a), _n(b), _n(c), _n(d)), '    Pen (1,2,0)']
        elif kind == 'pline':
            lines += ['Pline %d' % len(pts)] + ['%s %s' % (_n(x), _n(y)) for x, y in pts]
            lines += ['    Pen (1,2,0)']
        elif kind == 'plinem':
            lines += ['Pline Multiple %d' % len(pts)]
            for sec in pts:
                lines += ['  %d' % len(sec)] + ['%s %s' % (_n(x), _n(y)) for x, y in sec]
            lines += ['    Pen (1,2,0)']
        elif kind == 'region':
            lines += ['Region 1', '  %d' % len(pts)] + ['%s %s' % (_n(x), _n(y)) for x, y in pts]
            cx = sum(x for x, _ in pts[:-1]) / (len(pts) - 1)
            cy = sum(y for _, y in pts[:-1]) / (len(pts) - 1)
            lines += ['    Pen (1,2,0)', '    Brush (2,16777215,0)',
                      '    Center %s %s' % (_n(cx), _n(cy))]
        mid.append('%d,"%s",%s' % (k, names[k - 1], _n(k * 1.25)))
    return '\r\n'.join(lines) + '\r\n', '\r\n'.join(mid) + '\r\n'


class TableMaker:
    def __init__(self, env):
        self.env = env

    def vector(self, tab_path, cls, msk89, step=None, via_gdal=False, count=None):
        """Writes a native vector table of the given input class; returns its object count."""
        east, north = CLASS_ANCHORS[cls]
        if step is None:
            step = 0.001 if cls == 0 else 10.0
        objects = objects_around(east, north, step)
        if count is not None:
            objects = [('point', [(east + i * step, north + (i % 3) * step)])
                       for i in range(count)]
        names = ['Объект %d' % k for k in range(1, len(objects) + 1)]
        mif, mid = mif_text(clause_for_class(cls, msk89), objects, names)
        base = os.path.splitext(tab_path)[0]
        os.makedirs(os.path.dirname(tab_path), exist_ok=True)
        work = base + '.src'
        os.makedirs(work, exist_ok=True)
        src_mif = os.path.join(work, 'src.mif')
        with open(src_mif, 'wb') as f:
            f.write(mif.encode('cp1251'))
        with open(os.path.join(work, 'src.mid'), 'wb') as f:
            f.write(mid.encode('cp1251'))
        if via_gdal:
            subprocess.run(['ogr2ogr', '-f', 'MapInfo File', tab_path, src_mif,
                            '-lco', 'ENCODING=CP1251'], check=True, capture_output=True)
        else:
            self.env.wine_run([self.env.tabtool, 'copy', self.env.winpath(src_mif),
                               self.env.winpath(tab_path)])
        for name in os.listdir(work):
            os.remove(os.path.join(work, name))
        os.rmdir(work)
        if not os.path.exists(tab_path):
            raise RuntimeError('table was not written: ' + tab_path)
        return len(objects)

    @staticmethod
    def break_row(tab_path, row):
        """Damages the object of one row the way a bad disk would: the row id stored in the
        object's header no longer matches, so readers see that one feature as broken."""
        base = os.path.splitext(tab_path)[0]
        id_path = _companion(base, '.id')
        map_path = _companion(base, '.map')
        with open(id_path, 'rb') as f:
            ids = f.read()
        (ptr,) = struct.unpack_from('<i', ids, (row - 1) * 4)
        with open(map_path, 'r+b') as f:
            f.seek(ptr + 1)
            f.write(struct.pack('<i', 1234))

    @staticmethod
    def raster(tab_path, image_name, clause, points, size=(240, 160)):
        """A raster table: control points [(east, north, px, py, label)] over a TIFF image."""
        folder = os.path.dirname(tab_path)
        os.makedirs(folder, exist_ok=True)
        subprocess.run(['convert', '-size', '%dx%d' % size, 'gradient:blue-yellow',
                        os.path.join(folder, image_name)], check=True, capture_output=True)
        lines = ['!table', '!version 300', '!charset WindowsCyrillic', '',
                 'Definition Table', '  File "%s"' % image_name, '  Type "RASTER"']
        for i, (e, n, px, py, label) in enumerate(points):
            sep = ',' if i < len(points) - 1 else ''
            lines.append('  (%s,%s) (%d,%d) Label "%s"%s' % (_n(e), _n(n), px, py, label, sep))
        lines += ['  ' + clause, '  Units "m"']
        with open(tab_path, 'wb') as f:
            f.write(('\r\n'.join(lines) + '\r\n').encode('cp1251'))


def _companion(base, ext):
    for cand in (base + ext, base + ext.upper()):
        if os.path.exists(cand):
            return cand
    raise FileNotFoundError(base + ext)
