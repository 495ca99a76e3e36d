#!/usr/bin/env python3
"""Acceptance scenarios: whole runs of the installed program, driven through its window.

    acceptance.py <build dir> <scenario>     exit 0 passed, 1 failed, 77 skipped
    acceptance.py <build dir> --list
"""
import os
import re
import sys
import time
import xml.etree.ElementTree as ET

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import judge  # noqa: E402
from harness import (CAPTION, TARGETS, raise_if_hidden, Env, Failure, Program, Skip, screenshot,  # noqa: E402
                     PROGRESS_CANCEL, xdo, LOCALES, RUN_CANCELLED, RUN_FAILED, RUN_FINISHED)
from tables import TM_FN_SHIFTED, LONGLAT_WGS84, TableMaker  # noqa: E402

SKIP = 77
ALL_CLASSES = [1, 2, 3, 4, 103, 104, 0]
# Where each class's table sits under the input folder: nested folders, one with a Cyrillic
# name and blanks.
CLASS_PLACES = {
    1: 'c1.tab',
    2: 'участок А/c2.tab',
    3: 'участок А/квартал 7/c3.tab',
    4: 'Старые планы/c4.tab',
    103: 'x/y/z/c103.tab',
    104: 'x/c104.tab',
    0: 'c0.tab',
}
# Tolerances in metres: a table passes up to three native grids on its way (input, first
# and second pass, each rounding to about 1 cm), plus the reprojection where the GIS program
# does one (same datum: a pure change of projection; WGS 84 to Pulkovo 1942: a datum shift
# whose published accuracy is metres, compared here with PROJ's).
TOLERANCE = {1: 0.05, 2: 0.05, 3: 0.05, 4: 0.05, 103: 0.05, 104: 0.05, 0: 1.0}
SOURCE_TAIL = {104: TM_FN_SHIFTED, 0: LONGLAT_WGS84}


def source_tail(cls, f):
    return f.msk89 if cls == 103 else SOURCE_TAIL.get(cls)


class Ctx:
    def __init__(self, env, name):
        self.env = env
        self.name = '%s-%s' % (name, env.locale)
        self.dir = env.scenario_dir(self.name)
        self.prog_dir = os.path.join(self.dir, 'prog')
        env.install(self.prog_dir)
        self.formations = judge.formations(os.path.join(self.prog_dir, 'CSYanao.xml'))
        self.maker = TableMaker(env)
        self.errors = []
        self.program = None

    def path(self, *parts):
        return os.path.join(self.dir, *parts)

    def win(self, path, folder=False):
        w = self.env.winpath(path)
        return w + '\\' if folder and not w.endswith('\\') else w

    def shot(self, what):
        return os.path.join(self.env.screens, '%s-%s.png' % (self.name, what))

    def start(self, expect_dialog=False):
        self.program = Program(self.env, self.prog_dir, self.path('program.log'))
        if expect_dialog:
            return self.program
        main = self.program.wait_main()
        if not main['children']:
            raise Skip('the main window has no controls yet (placeholder window)')
        return self.program

    def expect(self, cond, message):
        if not cond:
            self.errors.append(message)

    def finish(self):
        if self.program is not None:
            self.program.close()
            left = self.program.leftovers()
            self.expect(not left, 'processes left running after the program ended: %s' % left)
            self.program = None


# ---- the pieces scenarios share ----

def make_class_tables(ctx, root, classes, f):
    made = {}
    for cls in classes:
        tab = os.path.join(root, CLASS_PLACES[cls])
        count = ctx.maker.vector(tab, cls, f.msk89, via_gdal=(cls == 0))
        made[tab] = {'class': cls, 'count': count, 'table': judge.read_table(tab)}
    return made


def read_settings(env):
    files = env.settings_files()
    if not files:
        return None
    root = ET.parse(files[0]).getroot()
    return {child.tag: (child.text or '') for child in root}


def check_settings(ctx, in_dir, out_dir, target, formation, diagnostics):
    got = read_settings(ctx.env)
    want = {'InPath': in_dir, 'OutPath': out_dir, 'CS': TARGETS[target], 'MO': formation,
            'ShowError': 'T' if diagnostics else 'F'}
    ctx.expect(got == want, 'settings file holds %r, expected %r' % (got, want))


def check_layout(ctx, in_root, out_root, inputs):
    for tab in inputs:
        rel = os.path.relpath(tab, in_root)
        ctx.expect(os.path.exists(os.path.join(out_root, rel)), 'no output table ' + rel)
    in_dirs = {os.path.relpath(d, in_root) for d, _, fs in os.walk(in_root)
               if any(n.lower().endswith('.tab') for n in fs)}
    out_dirs = {os.path.relpath(d, out_root) for d, _, fs in os.walk(out_root)
                if any(n.lower().endswith('.tab') for n in fs)}
    ctx.expect(in_dirs == out_dirs, 'output folders %s do not mirror the input folders %s' %
               (sorted(out_dirs), sorted(in_dirs)))


def check_vector_output(ctx, in_root, out_root, tab, info, target, f, skip_ids=()):
    rel = os.path.relpath(tab, in_root)
    out = os.path.join(out_root, rel)
    if not os.path.exists(out):
        return
    cls = info['class']
    src = info['table']
    try:
        got = judge.read_table(out)
    except Exception as e:  # GDAL's own message says what is wrong with the file
        ctx.errors.append('%s does not open in GDAL: %s' % (rel, e))
        return
    want_rows = {k: v for k, v in src['rows'].items() if k not in skip_ids}
    ctx.expect(got['count'] == len(want_rows), '%s: %d features, expected %d' %
               (rel, got['count'], len(want_rows)))
    ctx.expect(got['fields'][:3] == ['id', 'name', 'val'],
               '%s: columns %s' % (rel, got['fields']))
    err = judge.check_srs(got['srs'], target, f)
    ctx.expect(err is None, '%s: %s' % (rel, err))
    for key, (attrs, pts) in sorted(want_rows.items()):
        if key not in got['rows']:
            ctx.errors.append('%s: feature %s missing' % (rel, key))
            continue
        gattrs, gpts = got['rows'][key]
        for n in ('id', 'name', 'val'):
            ctx.expect(gattrs.get(n) == attrs.get(n), '%s feature %s: %s is %r, expected %r' %
                       (rel, key, n, gattrs.get(n), attrs.get(n)))
        want = judge.expected_points(cls, target, f, pts, source_tail(cls, f))
        ctx.errors += judge.compare_points(gpts, want, TOLERANCE[cls],
                                           '%s feature %s' % (rel, key))


def check_vector_log(ctx, lines, tab, info, target, broken=0):
    block = judge.table_block(lines, ctx.win(tab))
    rel = os.path.basename(tab)
    if block is None:
        ctx.errors.append('log has no line for ' + ctx.win(tab))
        return
    cls = info['class']
    want = ['Векторная таблица', 'Нормальных: %d, Битых: %d.' % (info['count'] - broken, broken),
            re.compile(r'CoordSys .*'), judge.BOUNDS_RE, 'Тип входной СК %d' % cls]
    if cls in (0, 103, 104):
        want.append(re.compile(r'Commit Table tab1 As ".*" CoordSys Earth Projection .*'))
    want.append('outCs %d' % target)
    ctx.errors += judge.check_order(block, want, rel)
    bounds = next((judge.BOUNDS_RE.match(ln) for ln in block if judge.BOUNDS_RE.match(ln)), None)
    if bounds:
        ext = info['table']['extent']
        got = [float(v.replace(',', '.')) for v in bounds.groups()]
        ctx.expect(all(abs(a - b) < 0.02 for a, b in zip(got, ext)),
                   '%s: logged bounds %s, GDAL extent %s' % (rel, got, ext))


def closing_line(lines):
    real = [ln for ln in lines if ln.strip()]
    return real[-1] if real else None


def check_closing(ctx, lines, phase_line, what=''):
    """A finished run: the phase line of the rasters, then the closing line, and nothing
    that says a table was left out."""
    real = [ln for ln in lines if ln.strip()]
    ctx.expect(real[-2:] == [phase_line, RUN_FINISHED], '%slog ends %r, expected %r' % (
        what, real[-2:], [phase_line, RUN_FINISHED]))
    ctx.expect(not any(ln.startswith('Не обработан') for ln in real),
               '%sa finished run names tables not processed' % what)


def need_gis(ctx):
    ctx.env.register_gis()


# ---- scenarios ----

def vector_run(env, name, target, formation_index=0, diagnostics=False, classes=ALL_CLASSES,
               in_name='in'):
    ctx = Ctx(env, name)
    f = ctx.formations[formation_index]
    in_root, out_root = ctx.path(in_name), ctx.path('out')
    tables = make_class_tables(ctx, in_root, classes, f)
    before = judge.tree_hashes(in_root)
    gis = env.gis_available()
    if gis:
        need_gis(ctx)
    env.forget_settings()
    try:
        p = ctx.start()
        p.fill(ctx.win(in_root, True), ctx.win(out_root, True), target,
               formation_index if formation_index else None,
               [x.caption for x in ctx.formations], diagnostics)
        p.screenshot(ctx.shot('before'))
        if not gis:
            need_gis(ctx)
        lines, dialogs = p.run(shots=ctx.shot('progress'))
        if dialogs:
            raise Failure('the run showed %s' % [p.dialog_texts(d) for d in dialogs])
        p.screenshot(ctx.shot('after'))
        # The user copies the log before closing the program: the text must outlive it
        # (and the program must not crash on its way out).
        env.probe_run('clip', 'clear')
        p.click('RichEdit1')
        xdo('key', '--clearmodifiers', 'ctrl+a', 'ctrl+c')
        # Closing the program must not overtake the copy.
        copy_seen = env.wait_clipboard_text()
    finally:
        ctx.finish()
    copied = env.probe_run('clip')
    ctx.expect(copy_seen, 'Ctrl+A, Ctrl+C in the log pane put no text on the clipboard')
    ctx.expect(RUN_FINISHED in copied, 'the copied log is gone after the program ended: %r' %
               copied[-200:])
    check_settings(ctx, ctx.win(in_root, True), ctx.win(out_root, True), target, f.caption,
                   diagnostics)
    check_closing(ctx, lines, 'Нет растров')
    check_layout(ctx, in_root, out_root, tables)
    for tab, info in tables.items():
        check_vector_log(ctx, lines, tab, info, target)
        check_vector_output(ctx, in_root, out_root, tab, info, target, f)
    ctx.errors += judge.diff_hashes(before, judge.tree_hashes(in_root))
    return ctx.errors


def scenario_classes_target1(env):
    return vector_run(env, 'classes_target1', 1)


def scenario_classes_target0(env):
    return vector_run(env, 'classes_target0', 0)


def scenario_classes_target2(env):
    # Another formation than the first, picked through the list (one whose MSK-89 zone
    # spells its datum out), and a Cyrillic input folder with blanks typed into the field.
    return vector_run(env, 'classes_target2', 2, formation_index=2,
                      in_name='Входные таблицы ЯНАО')


def scenario_broken(env):
    """A table whose row 4 is damaged: the row-range search, with diagnostics on and off."""
    ctx = Ctx(env, 'broken')
    f = ctx.formations[0]
    in_root = ctx.path('in')
    tab = os.path.join(in_root, 'повреждена', 'b3.tab')
    count = ctx.maker.vector(tab, 3, f.msk89, count=10)
    healthy = judge.read_table(tab)
    TableMaker.break_row(tab, 4)
    info = {'class': 3, 'count': count, 'table': healthy}
    before = judge.tree_hashes(in_root)
    need_gis(ctx)
    env.forget_settings()
    logs = {}
    try:
        p = ctx.start()
        for diag in (True, False):
            out_root = ctx.path('out-diag' if diag else 'out-quiet')
            p.fill(ctx.win(in_root, True), ctx.win(out_root, True), 1, diagnostics=diag)
            lines, dialogs = p.run()
            if dialogs:
                raise Failure('the run showed %s' % [p.dialog_texts(d) for d in dialogs])
            logs[diag] = lines
            check_closing(ctx, lines, 'Нет растров', 'diagnostics %s: ' % ('on' if diag else 'off'))
    finally:
        ctx.finish()
    block = judge.table_block(logs[True], ctx.win(tab)) or []
    ctx.errors += judge.check_order(block, ['Векторная таблица', 'Нормальных: 9, Битых: 1.',
                                            re.compile(r'Успешно завершен от \d+ до \d+'),
                                            'Тип входной СК 3', 'outCs 1'], 'diagnostics on')
    ctx.errors += check_attempts(block, rows=10, broken={4})
    quiet = judge.table_block(logs[False], ctx.win(tab)) or []
    ctx.errors += judge.check_order(quiet, ['Векторная таблица', 'Нормальных: 9, Битых: 1.',
                                            'Тип входной СК 3', 'outCs 1'], 'diagnostics off')
    ctx.expect(not any(ATTEMPT_RE.match(ln) or ln.startswith('Итого') for ln in quiet),
               'diagnostics off, yet attempt lines were logged')
    for diag in (True, False):
        out_root = ctx.path('out-diag' if diag else 'out-quiet')
        check_vector_output(ctx, in_root, out_root, tab, info, 1, f, skip_ids={4})
    ctx.errors += judge.diff_hashes(before, judge.tree_hashes(in_root))
    return ctx.errors


ATTEMPT_RE = re.compile(r'^(\d+) от (\d+) до (\d+) (успешно|\((.*)\))$')
TOTAL_RE = re.compile(r'^Итого (\d+) от (\d+) до (\d+)$')


def check_attempts(block, rows, broken):
    """The row-range search as the log tells it: attempts numbered from 1, a range fails
    exactly when it holds a broken row, and the ranges exported in the end cover every
    healthy row and no broken one."""
    errs = []
    attempts = [ATTEMPT_RE.match(ln) for ln in block if ATTEMPT_RE.match(ln)]
    if not attempts:
        return ['diagnostics on, yet no attempt line was logged']
    for k, m in enumerate(attempts, start=1):
        i, lo, hi = int(m.group(1)), int(m.group(2)), int(m.group(3))
        ok = m.group(4) == 'успешно'
        if i != k:
            errs.append('attempt %d logged as number %d' % (k, i))
        holds_broken = any(lo <= b <= hi for b in broken)
        if ok == holds_broken:
            errs.append('attempt %d (rows %d to %d) %s' % (
                i, lo, hi, 'succeeded over a broken row' if ok else 'failed without one'))
    covered = set()
    totals = [TOTAL_RE.match(ln) for ln in block if TOTAL_RE.match(ln)]
    for k, m in enumerate(totals):
        if int(m.group(1)) != k:
            errs.append('range total %d logged as number %s' % (k, m.group(1)))
        covered |= set(range(int(m.group(2)), int(m.group(3)) + 1))
    want = set(range(1, rows + 1)) - set(broken)
    if covered != want:
        errs.append('exported rows %s, expected %s' % (sorted(covered), sorted(want)))
    return errs


def raster_classes(f):
    """class: (file name, clause, control points east/north). Every class of the input,
    numbers with three and more decimals, so that a road that rounded them would show."""
    return {
        1: ('r1.tab', 'CoordSys NonEarth Units "m" Bounds (0,0) (1000000,1000000)',
            [(18000.123, 12480.457), (18480.789, 12480.011), (18480.5, 12000.456)]),
        2: ('снимок 2.tab', 'CoordSys NonEarth Units "m" Bounds (0,0) (2000000,2000000)',
            [(450000.125, 380320.375), (450480.625, 380320.875), (450480.25, 380000.5)]),
        3: ('r3.tab', 'CoordSys NonEarth Units "m" Bounds (0,0) (10000000,10000000)',
            [(2524000.127, 1571320.349), (2524480.771, 1571320.5), (2524480.25, 1571000.125)]),
        4: ('r4.tab', 'CoordSys NonEarth Units "m" Bounds (0,0) (10000000,10000000)',
            [(4450000.125, 7380320.375), (4450480.5, 7380320.625), (4450480.875, 7380000.25)]),
        103: ('r103.tab', 'CoordSys Earth Projection ' + f.msk89,
              [(2524000.127, 1571320.349), (2524480.771, 1571320.5), (2524480.25, 1571000.125)]),
        104: ('r104.tab', 'CoordSys Earth Projection ' + TM_FN_SHIFTED,
              [(2524000.5, 1471320.25), (2524480.125, 1471320.75), (2524480.625, 1471000.375)]),
        0: ('r0.tab', 'CoordSys Earth Projection 1, 104',
            [(66.6012345, 66.5401234), (66.6109876, 66.5398765), (66.6101234, 66.5302345)]),
    }


# Where the raster folder puts each class: several sub-folders, so that the scan's order
# mixes the classes, and a Cyrillic folder and name.
RASTER_FOLDERS = {1: 'растры', 2: 'растры', 3: 'растры/старые', 4: '', 103: 'x', 104: 'x', 0: ''}
RASTER_LABELS = ['Pt 1', 'Точка 2', 'Point 3']
RASTER_PIXELS = [(0, 0), (240, 0), (240, 160)]
# The expectation is computed from every digit of the input, which the program hands to the
# GIS program as it is (a control point in degrees rounded to 0.01 would move by a
# kilometre). On their way the points pass through three to five native tables of the GIS
# program, each holding coordinates on a grid of 1 cm for these extents, so a point may
# end up to about 3.5 cm from its exact place; a change of datum (class 0) is compared
# with PROJ's, whose published accuracy is metres.
RASTER_TOLERANCE = {1: 0.04, 2: 0.04, 3: 0.04, 4: 0.04, 103: 0.04, 104: 0.04, 0: 1.0}


def make_rasters(in_root, f, classes):
    rasters = {}
    for cls in classes:
        name, clause, pts = raster_classes(f)[cls]
        tab = os.path.join(in_root, RASTER_FOLDERS[cls], name)
        ctl = [(e, n, px, py, lb) for (e, n), (px, py), lb in zip(pts, RASTER_PIXELS,
                                                                  RASTER_LABELS)]
        TableMaker.raster(tab, os.path.splitext(name)[0] + '.tif', clause, ctl)
        rasters[tab] = (cls, pts)
    return rasters


def scenario_rasters(env):
    """Raster tables of every class in one run, recalculated for each of the three targets:
    each raster follows others of other classes in one session of the GIS program."""
    ctx = Ctx(env, 'rasters')
    f = ctx.formations[0]
    in_root = ctx.path('in')
    rasters = make_rasters(in_root, f, ALL_CLASSES)
    before = judge.tree_hashes(in_root)
    need_gis(ctx)
    env.forget_settings()
    logs = {}
    try:
        p = ctx.start()
        for target in (0, 1, 2):
            out_root = ctx.path('out%d' % target)
            p.fill(ctx.win(in_root, True), ctx.win(out_root, True), target)
            lines, dialogs = p.run(shots=ctx.shot('progress-%d' % target), timeout=240)
            if dialogs:
                raise Failure('target %d: the run showed %s' % (
                    target, [p.dialog_texts(d) for d in dialogs]))
            logs[target] = lines
    finally:
        ctx.finish()
    for target, lines in logs.items():
        out_root = ctx.path('out%d' % target)
        check_closing(ctx, lines, 'Есть растры', 'target %d: ' % target)
        for tab, (cls, pts) in rasters.items():
            ctx.errors += judge.check_order(judge.table_block(lines, ctx.win(tab)) or [],
                                            [ctx.win(tab), 'Растровая таблица'],
                                            'target %d %s' % (target, os.path.basename(tab)))
            check_raster_output(ctx, in_root, out_root, tab, cls, pts, target, f)
    ctx.errors += judge.diff_hashes(before, judge.tree_hashes(in_root))
    return ctx.errors


POINT_RE = re.compile(r'^\s*\(\s*([-\d.eE+]+)\s*,\s*([-\d.eE+]+)\s*\)\s*\((\d+),(\d+)\)(.*)$')


def check_raster_output(ctx, in_root, out_root, tab, cls, pts, target, f):
    rel = os.path.relpath(tab, in_root)
    out = os.path.join(out_root, rel)
    what = 'target %d %s' % (target, rel)
    if not os.path.exists(out):
        ctx.errors.append(what + ': no output table')
        return
    text = open(out, 'rb').read().decode('cp1251')
    lines = text.split('\r\n')
    got = [POINT_RE.match(ln) for ln in lines if POINT_RE.match(ln)]
    # What the program must write: every digit of the input goes to the GIS program.
    source = {0: LONGLAT_WGS84, 103: f.msk89, 104: TM_FN_SHIFTED}.get(cls)
    want = judge.expected_points(cls, target, f, pts, source)
    ctx.errors += judge.compare_points([(float(m.group(1)), float(m.group(2))) for m in got],
                                       want, RASTER_TOLERANCE[cls], what)
    ctx.expect([m.group(5).strip().rstrip(',') for m in got] ==
               ['Label "%s"' % lb for lb in RASTER_LABELS],
               what + ': control-point labels changed: %s' % [m.group(5) for m in got])
    clause = [ln.strip() for ln in lines if 'CoordSys' in ln]
    want_clause = ('CoordSys Earth Projection ' + f.msk89 if target == 1 else
                   'CoordSys NonEarth Units "m" Bounds (-10000000, -10000000) '
                   '(10000000, 10000000)')
    ctx.expect(clause == [want_clause], '%s: CoordSys lines %s, expected %r' %
               (what, clause, want_clause))
    image_name = os.path.splitext(os.path.basename(tab))[0] + '.tif'
    image = os.path.join(os.path.dirname(out), image_name)
    src_image = os.path.join(os.path.dirname(tab), image_name)
    if not os.path.exists(image):
        ctx.errors.append(what + ': image not copied')
        return
    ctx.expect(open(image, 'rb').read() == open(src_image, 'rb').read(),
               what + ': image copy differs')
    # GDAL georeferences the copied image from the new .TAB beside it.
    ds = judge.gdal.Open(image)
    gt = ds.GetGeoTransform()
    tol = RASTER_TOLERANCE[cls]
    for (e, n), (px, py) in zip(want, RASTER_PIXELS):
        ge, gn = gt[0] + px * gt[1] + py * gt[2], gt[3] + px * gt[4] + py * gt[5]
        ctx.expect(abs(ge - e) < tol and abs(gn - n) < tol,
                   '%s: GDAL places pixel (%d,%d) at (%.4f, %.4f), expected (%.4f, %.4f)' %
                   (what, px, py, ge, gn, e, n))


def scenario_cancel(env):
    """Cancelling during the vector phase through the confirmation dialog."""
    ctx = Ctx(env, 'cancel')
    f = ctx.formations[0]
    in_root, out_root = ctx.path('in'), ctx.path('out')
    first = os.path.join(in_root, 't00.tab')
    ctx.maker.vector(first, 3, f.msk89)
    for i in range(1, 20):  # copies of one table keep the set-up short
        for ext in ('.tab', '.dat', '.map', '.id'):
            src = os.path.splitext(first)[0] + ext
            if os.path.exists(src):
                with open(src, 'rb') as a, open(os.path.join(in_root, 't%02d%s' % (i, ext)),
                                                'wb') as b:
                    b.write(a.read())
    before = judge.tree_hashes(in_root)
    need_gis(ctx)
    env.forget_settings()
    try:
        p = ctx.start()
        p.fill(ctx.win(in_root, True), ctx.win(out_root, True), 1)
        p.click('cxButton1')
        p.wait_for(lambda s: s['progress'], 60, 'the progress window')
        time.sleep(1.5)  # let it come up on the screen before the user's eye and mouse
        prog = p.wait_for(lambda s: s['progress'], 60, 'the progress window')
        if raise_if_hidden(prog['text'], CAPTION):
            print('NOTE cancel: the progress window lay under the main window on the X screen '
                  '(no window manager keeps owned windows on top under Xvfb); raised it')
        screenshot(prog['rect'], ctx.shot('progress'))
        button = next((c for c in prog['children'] if c['text'] == 'Отмена'), None)
        if button is not None:
            x, y = button['rect'][0] + button['rect'][2] // 2, button['rect'][1] + \
                button['rect'][3] // 2
        else:
            x, y = p.point(None, window=prog, layout=PROGRESS_CANCEL)
        xdo('mousemove', x, y, 'click', 1)
        try:
            ask = p.wait_for(lambda s: s['dialogs'][0] if s['dialogs'] else None, 60,
                             'the cancel confirmation')
        except Failure:
            screenshot((0, 0, 1280, 1024), ctx.shot('no-confirmation'))
            raise
        texts = p.dialog_texts(ask)
        ctx.expect(any('Вы хотите прервать выполнение?' in t for t in texts),
                   'confirmation shows %s' % texts)
        p.answer_dialog(ask, ('Yes', 'Да'))
        p.wait_for(lambda s: s['progress'] is None and not s['dialogs'] and s['main']['enabled'],
                   60, 'the run to end after the cancel')
        time.sleep(1)
        s = p.state()
        ctx.expect(not s['dialogs'], 'a message after the cancel: %s' %
                   [p.dialog_texts(d) for d in s['dialogs']])
        lines = p.log_lines(s)
    finally:
        ctx.finish()
    ctx.expect(not any(ln in ('Нет растров', 'Есть растры') for ln in lines),
               'the raster phase ran after the cancel')
    real = [ln for ln in lines if ln.strip()]
    ctx.expect(real[-1:] == [RUN_CANCELLED], 'the log ends %r, expected %r' % (
        real[-1:], RUN_CANCELLED))
    ctx.expect(len(real) > 1 and real[-2].startswith('Не обработаны таблицы: '),
               'the log does not name the tables the cancel left: %r' % real[-2:])
    made = [n for n in os.listdir(out_root)] if os.path.isdir(out_root) else []
    ctx.expect(len([n for n in made if n.lower().endswith('.tab')]) < 20,
               'every table was recalculated despite the cancel')
    ctx.errors += judge.diff_hashes(before, judge.tree_hashes(in_root))
    return ctx.errors


def scenario_messages(env):
    """Each input message, and the run refused because the output folder is the input.
    The dialog's copy (8-bit text in the system code page) is how the suite reads them."""
    ctx = Ctx(env, 'messages')
    f = ctx.formations[0]
    in_root = ctx.path('in')
    ctx.maker.vector(os.path.join(in_root, 'c3.tab'), 3, f.msk89)
    before = judge.tree_hashes(in_root)
    out_root = ctx.path('out')
    env.forget_settings()
    inp = ctx.win(in_root, True)
    cases = [('', '', 'Не указана входная папка.'),
             (inp, '', 'Не указана выходная папка.'),
             (ctx.win(ctx.path('нет такой'), True), ctx.win(out_root, True),
              'Входная папка не найдена.'),
             # The same folder spelled differently is still the same folder.
             (inp, inp.lower().rstrip('\\'),
              'Выходная папка совпадает с входной. Пересчет записал бы результаты поверх '
              'исходных таблиц: укажите другую выходную папку.'),
             (inp, inp + 'результат\\',
              'Выходная папка находится внутри входной. Пересчет записал бы результаты во '
              'входную папку: укажите выходную папку вне входной.')]
    try:
        p = ctx.start()
        for k, (in_text, out_text, message) in enumerate(cases):
            p.type_into('Memo1', in_text)
            p.type_into('Memo2', out_text)
            p.click('cxButton1')
            dlg = p.wait_dialog()
            texts = p.dialog_texts(dlg)
            ctx.expect(any(message in t for t in texts),
                       'expected the message %r, the dialog shows %s' % (message, texts))
            screenshot(dlg['rect'], ctx.shot('message-%d' % k))
            p.answer_dialog(dlg, ('OK', 'ОК'))
            p.wait_for(lambda s: not s['dialogs'], 20, 'the message to close')
            ctx.expect(not p.log_lines() or p.log_lines() == [''],
                       'a refused run wrote to the log: %s' % p.log_lines())
            if k < 2:
                ctx.expect(read_settings(env) is None,
                           'the settings file was written before the inputs were accepted')
    finally:
        ctx.finish()
    # No target chosen: the settings file names a system the list does not hold.
    settings_dir = env.settings_dir()
    os.makedirs(settings_dir, exist_ok=True)
    stale = ('<CSSettings><InPath>%s</InPath><OutPath>%s</OutPath><CS>Нет такой системы</CS>'
             '<MO>%s</MO><ShowError>F</ShowError></CSSettings>' %
             (ctx.win(in_root, True), ctx.win(out_root, True), f.caption))
    settings = os.path.join(settings_dir, 'CSSettings.xml')
    with open(settings, 'w', encoding='utf-8') as fh:
        fh.write(stale)
    try:
        p = ctx.start()
        p.click('cxButton1')
        dlg = p.wait_dialog()
        texts = p.dialog_texts(dlg)
        ctx.expect(any('Недозволенная выходная система координат.' in t for t in texts),
                   'no-target message: the dialog shows %s' % texts)
        p.answer_dialog(dlg, ('OK', 'ОК'))
        p.wait_for(lambda s: not s['dialogs'], 20, 'the message to close')
    finally:
        ctx.finish()
    ctx.expect(open(settings, encoding='utf-8').read() == stale,
               'the settings file was rewritten by a refused run')
    ctx.expect(not os.path.exists(out_root), 'a refused run created the output folder')
    ctx.errors += judge.diff_hashes(before, judge.tree_hashes(in_root))
    return ctx.errors


def scenario_missing_parameters(env):
    """No parameter file beside the program: the message at start, an empty formation list,
    and the settings file left unread."""
    ctx = Ctx(env, 'missing_parameters')
    os.remove(os.path.join(ctx.prog_dir, 'CSYanao.xml'))
    settings_dir = env.settings_dir()
    os.makedirs(settings_dir, exist_ok=True)
    with open(os.path.join(settings_dir, 'CSSettings.xml'), 'w', encoding='utf-8') as fh:
        fh.write('<CSSettings><InPath>C:\\restored\\</InPath><OutPath>C:\\out\\</OutPath>'
                 '<CS>МСК-89 план-схема</CS><MO></MO><ShowError>T</ShowError></CSSettings>')
    try:
        p = ctx.start(expect_dialog=True)
        first = p.wait_for(lambda s: s['dialogs'] or (s['main'] and not s['main']['children']),
                           60, 'the missing-file message')
        if not isinstance(first, list):
            raise Skip('the main window has no controls yet (placeholder window)')
        dlg = first[0]
        texts = p.dialog_texts(dlg)
        want = 'Не найден файл параметров "%s".' % ctx.win(os.path.join(ctx.prog_dir,
                                                                      'CSYanao.xml'))
        ctx.expect(any(want in t for t in texts), 'expected %r, the dialog shows %s' %
                   (want, texts))
        screenshot(dlg['rect'], ctx.shot('message'))
        p.answer_dialog(dlg, ('OK', 'ОК'))
        main = p.wait_main()
        if not main['children']:
            raise Skip('the main window has no controls yet (placeholder window)')
        s = p.state()
        memo = p.child_at(s, 'Memo1')
        ctx.expect(memo is not None and memo['text'].strip() == '',
                   'input folder restored without a parameter file: %r' %
                   (memo and memo['text']))
        box = p.child_at(s, 'CheckBox1')
        ctx.expect(box is not None and not box['check'], 'diagnostics box restored')
        target = p.child_at(s, 'cxComboBox1')
        ctx.expect(target is None or target['text'] in ('', TARGETS[1]),
                   'target shows %r, expected the designed %r' %
                   (target and target['text'], TARGETS[1]))
        p.screenshot(ctx.shot('window'))
    finally:
        ctx.finish()
    return ctx.errors


def scenario_damaged_earth(env):
    """Damaged tables of the classes the GIS program reprojects itself: the commit takes
    the rows the row-range search kept, so each output holds exactly the readable rows."""
    ctx = Ctx(env, 'damaged_earth')
    f = ctx.formations[0]
    in_root, out_root = ctx.path('in'), ctx.path('out')
    tables = {}
    for cls, place in ((103, 'земля/d103.tab'), (104, 'd104.tab')):
        tab = os.path.join(in_root, place)
        count = ctx.maker.vector(tab, cls, f.msk89, count=10)
        healthy = judge.read_table(tab)
        TableMaker.break_row(tab, 4)
        tables[tab] = {'class': cls, 'count': count, 'table': healthy}
    before = judge.tree_hashes(in_root)
    need_gis(ctx)
    env.forget_settings()
    try:
        p = ctx.start()
        p.fill(ctx.win(in_root, True), ctx.win(out_root, True), 1)
        lines, dialogs = p.run()
        if dialogs:
            raise Failure('the run showed %s' % [p.dialog_texts(d) for d in dialogs])
    finally:
        ctx.finish()
    check_closing(ctx, lines, 'Нет растров')
    for tab, info in tables.items():
        block = judge.table_block(lines, ctx.win(tab)) or []
        ctx.errors += judge.check_order(block, [
            'Векторная таблица', 'Нормальных: 9, Битых: 1.', 'Тип входной СК %d' % info['class'],
            re.compile(r'Commit Table tab2 As ".*" CoordSys Earth Projection .*'), 'outCs 1'],
            os.path.basename(tab))
        check_vector_output(ctx, in_root, out_root, tab, info, 1, f, skip_ids={4})
    ctx.errors += judge.diff_hashes(before, judge.tree_hashes(in_root))
    return ctx.errors


def copy_table(src_tab, dst_tab):
    base, dst = os.path.splitext(src_tab)[0], os.path.splitext(dst_tab)[0]
    for ext in ('.tab', '.dat', '.map', '.id'):
        if os.path.exists(base + ext):
            os.makedirs(os.path.dirname(dst_tab), exist_ok=True)
            with open(base + ext, 'rb') as a, open(dst + ext, 'wb') as b:
                b.write(a.read())


def scenario_unreadable(env):
    """A table that cannot be read among good ones ends the run; the log says why, names
    every table not processed and ends with a line saying the run ended by an error. A
    backup copy or a file with another extension is no table and changes nothing."""
    ctx = Ctx(env, 'unreadable')
    f = ctx.formations[0]
    good = ctx.path('good', 'c3.tab')
    ctx.maker.vector(good, 3, f.msk89)
    # What makes a table unreadable: (name, how it is made, a word of the message).
    cases = [('empty.tab', lambda t: open(t, 'wb').close(), None),
             ('no data.tab', lambda t: (copy_table(good, t),
                                        os.remove(os.path.splitext(t)[0] + '.dat')), None),
             ('unknown type.tab', lambda t: open(t, 'wb').write(
                 b'!table\r\n!version 300\r\n\r\nDefinition Table\r\n  Type SEAMLESS\r\n'), None)]
    if env.locale == 'en':
        # A name the system's code page cannot spell: the GIS program could not open it.
        cases.append(('дороги.tab', lambda t: copy_table(good, t), 'кодовой странице'))
    need_gis(ctx)
    env.forget_settings()
    results = []
    try:
        p = ctx.start()
        for k, (bad_name, make, says) in enumerate(cases):
            in_root, out_root = ctx.path('in%d' % k), ctx.path('out%d' % k)
            tables = [os.path.join(in_root, 'участок', 'a.tab'), os.path.join(in_root, 'b.tab'),
                      os.path.join(in_root, 'участок', bad_name)]
            for t in tables[:2]:
                copy_table(good, t)
            make(tables[2])
            for decoy in ('b.tab.bak', 'notes.table'):
                with open(os.path.join(in_root, decoy), 'wb') as fh:
                    fh.write(b'not a table')
            p.fill(ctx.win(in_root, True), ctx.win(out_root, True), 1)
            lines, dialogs = p.run()
            texts = []
            if dialogs:
                texts = p.dialog_texts(dialogs[0])
                p.answer_dialog(dialogs[0], ('OK', 'ОК'))
                p.wait_for(lambda s: not s['dialogs'], 20, 'the error message to close')
            lines = p.log_lines()
            results.append((k, bad_name, says, in_root, out_root, tables, lines, texts))
    finally:
        ctx.finish()
    for k, bad_name, says, in_root, out_root, tables, lines, texts in results:
        what = 'case %d (%s): ' % (k, bad_name)
        bad = ctx.win(tables[2])
        ctx.expect(any(bad in t for t in texts), what + 'the error message does not name the '
                   'table: %s' % texts)
        if says:
            ctx.expect(any(says in t for t in texts), what + 'the message does not say %r: %s' %
                       (says, texts))
        real = [ln for ln in lines if ln.strip()]
        ctx.expect(real[-1:] == [RUN_FAILED], what + 'the log ends %r' % real[-3:])
        named = next((ln for ln in real if ln.startswith('Не обработан')), '')
        ctx.expect(bad in named, what + 'the log does not name the table: %r' % named)
        ctx.expect(any(bad in ln and ln != bad and ln != named for ln in real),
                   what + 'the log holds no error line naming the table')
        for t in tables[:2]:
            rel = os.path.relpath(t, in_root)
            done = os.path.exists(os.path.join(out_root, rel))
            ctx.expect(done != (ctx.win(t) in named), what + '%s is %s' % (
                rel, 'both recalculated and named as not processed' if done else
                'neither recalculated nor named as not processed'))
        ctx.expect(not any('.bak' in ln or '.table' in ln for ln in real),
                   what + 'a file that is no table was taken for one')
    return ctx.errors


def scenario_broken_files(env):
    """A parameter file that is empty or not XML, and a settings file that is not XML: each
    named at start-up with what is wrong, a run refused in words a user can act on, the
    window usable."""
    ctx = Ctx(env, 'broken_files')
    params = os.path.join(ctx.prog_dir, 'CSYanao.xml')
    with open(params, 'rb') as fh:
        good_params = fh.read()
    settings = os.path.join(env.settings_dir(), 'CSSettings.xml')
    in_root, out_root = ctx.path('in'), ctx.path('out')
    os.makedirs(in_root)
    cases = [('empty parameter file', b'', 'пуст'),
             ('broken parameter file', b'<Root><Item Caption="a"></Root>', 'поврежден')]
    try:
        for what, text, says in cases:
            env.forget_settings()
            with open(params, 'wb') as fh:
                fh.write(text)
            p = ctx.start(expect_dialog=True)
            dlg = p.wait_dialog(60)
            texts = p.dialog_texts(dlg)
            want = 'Файл параметров "%s"' % ctx.win(params)
            ctx.expect(any(want in t and says in t for t in texts),
                       '%s: start-up shows %s' % (what, texts))
            p.answer_dialog(dlg, ('OK', 'ОК'))
            p.wait_main()
            p.type_into('Memo1', ctx.win(in_root, True))
            p.type_into('Memo2', ctx.win(out_root, True))
            p.click('cxButton1')
            dlg = p.wait_dialog()
            texts = p.dialog_texts(dlg)
            ctx.expect(any('не загружен файл параметров "%s"' % ctx.win(params) in t
                           for t in texts), '%s: the run shows %s' % (what, texts))
            p.answer_dialog(dlg, ('OK', 'ОК'))
            p.wait_for(lambda s: not s['dialogs'], 20, 'the message to close')
            ctx.expect(read_settings(env) is None, what + ': a refused run wrote the settings')
            ctx.finish()
        with open(params, 'wb') as fh:
            fh.write(good_params)
        os.makedirs(os.path.dirname(settings), exist_ok=True)
        with open(settings, 'w', encoding='utf-8') as fh:
            fh.write('<CSSettings><InPath>C:\\a</CSSettings>')
        p = ctx.start(expect_dialog=True)
        dlg = p.wait_dialog(60)
        texts = p.dialog_texts(dlg)
        ctx.expect(any('Файл настроек "%s"' % ctx.win(settings) in t for t in texts),
                   'broken settings file: start-up shows %s' % texts)
        p.answer_dialog(dlg, ('OK', 'ОК'))
        p.wait_main()
        box = p.child_at(p.state(), 'cxComboBox2')
        ctx.expect(box is not None and box['text'] == ctx.formations[0].caption,
                   'broken settings file: the formation list shows %r' % (box and box['text']))
        p.fill(ctx.win(in_root, True), ctx.win(out_root, True), 1)
        lines, dialogs = p.run()
        ctx.expect(not dialogs, 'the run after a broken settings file showed a message')
    finally:
        ctx.finish()
    check_settings(ctx, ctx.win(in_root, True), ctx.win(out_root, True), 1,
                   ctx.formations[0].caption, False)
    return ctx.errors


def scenario_duplicate_captions(env):
    """Two formations of one caption: the parameter file is reported at start-up, and a run
    with the second one chosen recalculates with the second one's parameters."""
    ctx = Ctx(env, 'duplicate_captions')
    params = os.path.join(ctx.prog_dir, 'CSYanao.xml')
    text = open(params, encoding='utf-8').read()
    first = re.search(r'<Item\b[^>]*/>', text, re.S).group(0)

    def moved(m):
        value = float(m.group(2).replace(',', '.')) + 100000
        number = ('%.6f' % value).rstrip('0').rstrip('.')
        return m.group(1) + (number.replace('.', ',') if ',' in m.group(2) else number) + '"'
    second = re.sub(r'(\bxnew=")([^"]*)"', moved, first)
    with open(params, 'w', encoding='utf-8') as fh:
        fh.write('<?xml version="1.0" encoding="UTF-8"?>\n<Root>\n  %s\n  %s\n</Root>\n' %
                 (first, second))
    formations = judge.formations(params)
    f = formations[1]
    caption = f.caption
    in_root, out_root = ctx.path('in'), ctx.path('out')
    tables = make_class_tables(ctx, in_root, [1], f)
    need_gis(ctx)
    env.forget_settings()
    try:
        p = ctx.start(expect_dialog=True)
        dlg = p.wait_dialog(60)
        texts = p.dialog_texts(dlg)
        ctx.expect(any('"%s"' % caption in t and ctx.win(params) in t for t in texts),
                   'start-up shows %s' % texts)
        p.answer_dialog(dlg, ('OK', 'ОК'))
        p.wait_main()
        p.fill(ctx.win(in_root, True), ctx.win(out_root, True), 1, 1,
               [x.caption for x in formations])
        lines, dialogs = p.run()
        if dialogs:
            raise Failure('the run showed %s' % [p.dialog_texts(d) for d in dialogs])
    finally:
        ctx.finish()
    check_closing(ctx, lines, 'Нет растров')
    for tab, info in tables.items():
        check_vector_output(ctx, in_root, out_root, tab, info, 1, f)
    return ctx.errors


SCENARIOS = {
    'messages': scenario_messages,
    'missing_parameters': scenario_missing_parameters,
    'classes_target1': scenario_classes_target1,
    'classes_target0': scenario_classes_target0,
    'classes_target2': scenario_classes_target2,
    'broken': scenario_broken,
    'rasters': scenario_rasters,
    'cancel': scenario_cancel,
    'damaged_earth': scenario_damaged_earth,
    'unreadable': scenario_unreadable,
    'broken_files': scenario_broken_files,
    'duplicate_captions': scenario_duplicate_captions,
}


def main():
    build, name = sys.argv[1], sys.argv[2]
    if name == '--list':
        print(' '.join(SCENARIOS))
        return 0
    locale = sys.argv[3] if len(sys.argv) > 3 else 'ru'
    if locale not in LOCALES:
        print('unknown regional format %r, expected one of %s' % (locale, LOCALES))
        return 1
    env = Env(build, os.path.dirname(os.path.dirname(HERE)), locale)
    started = time.time()
    title = '%s (%s)' % (name, locale)
    try:
        errors = SCENARIOS[name](env)
    except Skip as s:
        print('SKIP %s: %s' % (title, s))
        return SKIP
    except Failure as e:
        errors = [str(e)]
    took = time.time() - started
    if errors:
        print('FAIL %s (%.0f s)' % (title, took))
        for e in errors:
            print('  ' + e)
        return 1
    print('PASS %s (%.0f s)' % (title, took))
    return 0


if __name__ == '__main__':
    sys.exit(main())
