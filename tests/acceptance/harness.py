"""Drives the installed program as a user does: X input through xdotool, screenshots through
ImageMagick, and a look at the window tree and the log pane through winprobe.exe, which runs
inside the same Wine prefix."""
import glob
import json
import os
import re
import shutil
import subprocess
import tempfile
import time

CAPTION = 'Пересчет таблиц в МСК-89'
PROGRAM_EXE = 'Orvexa.exe'
GIS_EXE = 'MapInfoStandin.exe'
TARGETS = ['МСК-89 план-схема', 'МСК-89 географическая', 'Старая условная система координат']

# Client-area layout of the main window at 96 DPI: left, top, width, height.
LAYOUT = {
    'Memo1': (8, 8, 608, 41),
    'Memo2': (8, 57, 608, 41),
    'cxComboBox1': (8, 110, 289, 21),
    'cxComboBox2': (303, 110, 313, 21),
    'cxButton1': (280, 137, 97, 25),
    'cxButton2': (8, 137, 130, 25),
    'cxButton3': (144, 137, 130, 25),
    'CheckBox1': (387, 140, 185, 17),
    'RichEdit1': (8, 168, 608, 221),
}
PROGRESS_CANCEL = (208, 134, 88, 24)
# Every run ends its log with one of these.
RUN_FINISHED = 'Пересчет завершен.'
RUN_FAILED = 'Пересчет прерван из-за ошибки.'
RUN_CANCELLED = 'Пересчет отменен пользователем.'
CLOSING_LINES = (RUN_FINISHED, RUN_FAILED, RUN_CANCELLED)
PROGRESS_CAPTIONS = ('Пересчет координат', 'Пересчет растровых таблиц', 'Выполняется')


class Skip(Exception):
    pass


class Failure(AssertionError):
    pass


LOCALES = ('ru', 'en')


class Env:
    def __init__(self, build, root, locale='ru'):
        self.build = build
        self.locale = locale
        self.root = root
        self.wine = os.environ.get('WINE_BIN', 'wine')
        self.prefix = os.environ['WINEPREFIX']
        self.tabtool = os.path.join(build, 'tests/standins/tabengine/tabtool.exe')
        self.winprobe = os.path.join(build, 'tests/acceptance/winprobe.exe')
        self.gis_server = os.path.join(build, 'standins/mapinfo/server', GIS_EXE)
        self.drive_c = os.path.join(self.prefix, 'drive_c')
        # Every Wine process of a scenario runs on one system: a Russian one (regional
        # format with a decimal comma, ANSI code page 1251), as most of the program's users
        # have, or an English one (decimal point, code page 1252), where Cyrillic table text
        # and folder names are outside the code page. Wine derives both from the Unix locale
        # and rewrites the prefix's regional values whenever a process starts with another
        # one, so no process of a scenario may differ.
        self.wine_env = self.russian_env() if locale == 'ru' else self.english_env()
        self.screens = os.path.join(build, 'acceptance-screens')
        os.makedirs(self.screens, exist_ok=True)

    def winpath(self, path):
        path = os.path.abspath(path)
        if path.startswith(self.drive_c + '/'):
            return 'C:\\' + path[len(self.drive_c) + 1:].replace('/', '\\')
        return 'Z:' + path.replace('/', '\\')

    def wine_run(self, argv, timeout=120):
        rc, out, err = run_to_files([self.wine] + argv, timeout, self.wine_env)
        if rc != 0:
            raise RuntimeError('%s failed (%d): %s' % (argv[0], rc, err.decode(errors='replace')))
        return out

    def scenario_dir(self, name):
        d = os.path.join(self.drive_c, 'acceptance', name)
        if os.path.exists(d):
            shutil.rmtree(d)
        os.makedirs(d)
        return d

    def install(self, prog_dir):
        subprocess.run(['bash', os.path.join(self.root, 'tools/install.sh'), prog_dir],
                       check=True, env=dict(os.environ, BUILD_DIR=self.build))

    def gis_available(self):
        return os.path.exists(os.path.join(self.root, 'tools/standins-register.sh')) and \
            os.path.exists(self.gis_server)

    def register_gis(self):
        if not self.gis_available():
            raise Skip('the GIS automation stand-in is not on this branch yet '
                       '(no tools/standins-register.sh or no built %s)' % GIS_EXE)
        rc, _, err = run_to_files(['bash', os.path.join(self.root, 'tools/standins-register.sh')],
                                  120, env=dict(self.wine_env, BUILD_DIR=self.build))
        if rc != 0:
            raise RuntimeError('registering the GIS stand-in failed: ' +
                               err.decode(errors='replace'))

    def settings_files(self):
        pattern = os.path.join(self.drive_c, 'users', '*', '*', '*', 'Vosk', '5.0', 'qeDefaults',
                               'CSSettings.xml')
        return glob.glob(pattern) + glob.glob(pattern.replace('/*/*/*/Vosk', '/*/*/Vosk'))

    def forget_settings(self):
        for f in self.settings_files():
            os.remove(f)

    def settings_dir(self):
        """The per-user folder the program uses (found through the profile's application-data
        folder, which Wine lays out as users/<name>/AppData/Roaming)."""
        roaming = glob.glob(os.path.join(self.drive_c, 'users', '*', 'AppData', 'Roaming'))
        roaming = [r for r in roaming if '/Public/' not in r]
        if not roaming:
            raise RuntimeError('no application-data folder in the prefix')
        return os.path.join(roaming[0], 'Vosk', '5.0', 'qeDefaults')

    def russian_env(self):
        env = dict(os.environ, LANG='ru_RU.UTF-8', LC_ALL='ru_RU.UTF-8')
        have = subprocess.run(['locale', '-a'], capture_output=True).stdout.decode().lower()
        if 'ru_ru.utf8' not in have:
            folder = os.path.join(self.build, 'locale')
            if not os.path.isdir(os.path.join(folder, 'ru_RU.UTF-8')):
                os.makedirs(folder, exist_ok=True)
                subprocess.run(['localedef', '-i', 'ru_RU', '-f', 'UTF-8',
                                os.path.join(folder, 'ru_RU.UTF-8')], capture_output=True)
            env['LOCPATH'] = folder
        return env

    def english_env(self):
        env = dict(os.environ, LANG='en_US.UTF-8', LC_ALL='C.UTF-8')
        env.pop('LOCPATH', None)
        return env

    def probe_run(self, *args):
        return run_to_files([self.wine, self.winprobe] + [str(a) for a in args], 60,
                            self.wine_env)[1].decode('utf-8')

    def put_clipboard(self, text):
        rc, _, err = run_to_files([self.wine, self.winprobe, 'clip', 'put',
                                   text.encode('utf-8').hex()], 60, self.wine_env)
        if rc != 0:
            raise RuntimeError('winprobe could not put %r on the clipboard (%d): %s' % (
                text, rc, err.decode(errors='replace')))

    def wait_clipboard_text(self, timeout=15):
        """Whether the clipboard offers text within timeout (its owner is not asked to render
        it): under load a Ctrl+C reaches the program late."""
        end = time.time() + timeout
        while time.time() < end:
            if run_to_files([self.wine, self.winprobe, 'clip', 'has'], 60, self.wine_env)[0] == 0:
                return True
            time.sleep(0.5)
        return False

    def probe(self, tries=4):
        """The prefix's windows and processes. Under load a probe now and then ends without
        printing (Wine could not start it, or a window went away under it): asked again."""
        for attempt in range(tries):
            rc, out, err = run_to_files([self.wine, self.winprobe, 'state'], 60, self.wine_env)
            try:
                return json.loads(out.decode('utf-8'))
            except ValueError:
                if attempt + 1 == tries:
                    raise RuntimeError('winprobe state gave no state (exit %d): %r %s' % (
                        rc, out[:200], err.decode(errors='replace')[-500:]))
                time.sleep(1)

    def probe_text(self, hwnd):
        return self.probe_run('text', hwnd)

    def processes(self, state=None):
        state = state or self.probe()
        return [p['exe'] for p in state['processes']]


def run_to_files(argv, timeout, env=None):
    """(exit code, stdout, stderr) of a command whose output goes through files, not pipes:
    a Wine process may start the desktop process, which inherits pipes and keeps them open
    long after the command itself has ended."""
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        r = subprocess.run(argv, stdout=out, stderr=err, stdin=subprocess.DEVNULL,
                           timeout=timeout, env=env)
        out.seek(0)
        err.seek(0)
        return r.returncode, out.read(), err.read()


def xdo(*args):
    subprocess.run(['xdotool'] + [str(a) for a in args], check=True)


def screenshot(rect, path):
    x, y, w, h = rect
    subprocess.run(['import', '-silent', '-window', 'root', '-crop', '%dx%d+%d+%d' % (w, h, x, y),
                    '+repage', path], check=True, capture_output=True)


def raise_if_hidden(title, owner_title):
    """Raises the X window titled title when it lies under the one titled owner_title
    (xwininfo lists the root's children top to bottom). Returns whether it had to."""
    ids = {}
    for t in (title, owner_title):
        r = subprocess.run(['xdotool', 'search', '--onlyvisible', '--name', '^%s$' % t],
                           capture_output=True, text=True)
        ids[t] = [int(x) for x in r.stdout.split()]
    if not ids[title] or not ids[owner_title]:
        return False
    tree = subprocess.run(['xwininfo', '-root', '-children'], capture_output=True,
                          text=True).stdout
    order = [int(m, 16) for m in re.findall(r'^\s+(0x[0-9a-f]+)', tree, re.M)]
    pos = {w: order.index(w) for w in ids[title] + ids[owner_title] if w in order}
    below = [w for w in ids[title] if w in pos and any(
        pos[w] > pos[o] for o in ids[owner_title] if o in pos)]
    for w in below:
        xdo('windowraise', w)
    time.sleep(0.5)
    return bool(below)


class Program:
    """One start of the installed program, from launch to close."""

    def __init__(self, env, prog_dir, log_path):
        self.env = env
        self.prog_dir = prog_dir
        self.log = open(log_path, 'wb')
        self.gis_before = {p['pid'] for p in env.probe()['processes']
                           if p['exe'].lower() == GIS_EXE.lower()}
        self.proc = subprocess.Popen([env.wine, os.path.join(prog_dir, PROGRAM_EXE)],
                                     cwd=prog_dir, stdout=self.log, stderr=subprocess.STDOUT,
                                     env=env.wine_env)
        self.pid = None
        self.main = None
        self.dialogs_seen = []

    # ---- window tree ----

    def state(self):
        s = self.env.probe()
        pids = {p['pid'] for p in s['processes'] if p['exe'].lower() == PROGRAM_EXE.lower()}
        s['mine'] = [w for w in s['windows'] if w['pid'] in pids]
        for w in s['mine']:
            if w['text'] == CAPTION and self.pid is None:
                self.pid = w['pid']
        if self.pid is not None:
            s['mine'] = [w for w in s['mine'] if w['pid'] == self.pid]
        s['main'] = next((w for w in s['mine'] if w['text'] == CAPTION), None)
        if s['main'] is not None:
            self.main = s['main']
        # The progress window, also while its controls are still being made.
        s['progress'] = next((w for w in s['mine'] if w is not s['main'] and (
            w['text'] in PROGRESS_CAPTIONS or 'progress' in w['class'].lower() or
            any(c['text'] == 'Отмена' for c in w['children']))), None)
        # Hints that pop up under the resting mouse are no dialogs.
        s['dialogs'] = [w for w in s['mine'] if w is not s['main'] and w is not s['progress']
                        and not any(k in w['class'].lower() for k in ('hint', 'tooltip'))]
        return s

    def wait_for(self, pred, timeout, what):
        end = time.time() + timeout
        while time.time() < end:
            if self.proc.poll() is not None:
                raise Failure('the program ended while waiting for %s (exit code %s)' %
                              (what, self.proc.returncode))
            s = self.state()
            r = pred(s)
            if r:
                return r
            time.sleep(0.3)
        raise Failure('timed out waiting for ' + what)

    def wait_main(self, timeout=60):
        return self.wait_for(lambda s: s['main'] if s['main'] and not s['dialogs'] else None,
                             timeout, 'the main window')

    def wait_dialog(self, timeout=30):
        return self.wait_for(lambda s: s['dialogs'][0] if s['dialogs'] else None, timeout,
                             'a message dialog')

    def dialog_texts(self, dialog):
        """The dialog's caption, its child windows' texts, and what the dialog puts on the
        clipboard on Ctrl+C (its labels need not be windows of their own)."""
        texts = [dialog['text']] + [c['text'] for c in dialog['children'] if c['text']]
        self.env.probe_run('clip', 'clear')
        xdo('key', '--clearmodifiers', 'ctrl+c')
        time.sleep(0.3)
        copied = self.env.probe_run('clip')
        return texts + ([copied] if copied else [])

    def answer_dialog(self, dialog, button_texts):
        """Clicks the dialog's button whose caption is one of button_texts."""
        for c in dialog['children']:
            if c['text'].replace('&', '') in button_texts and c['visible']:
                x, y, w, h = c['rect']
                xdo('mousemove', x + w // 2, y + h // 2, 'click', 1)
                xdo('mousemove', 1270, 1010)
                return
        raise Failure('no button %s on the dialog %s' % (button_texts, self.dialog_texts(dialog)))

    # ---- controls of the main window ----

    def point(self, name, dx=None, dy=None, window=None, layout=None):
        w = window or self.main
        left, top, width, height = (layout or LAYOUT[name])
        ox, oy = w['client'][0], w['client'][1]
        return ox + left + (width // 2 if dx is None else dx), oy + top + (
            height // 2 if dy is None else dy)

    def child_at(self, s, name):
        x, y = self.point(name)
        best = None
        for c in s['main']['children']:
            cx, cy, cw, ch = c['rect']
            if cx <= x < cx + cw and cy <= y < cy + ch and c['visible']:
                if best is None or cw * ch < best['rect'][2] * best['rect'][3]:
                    best = c
        return best

    def click(self, name, dx=None, dy=None):
        x, y = self.point(name, dx, dy)
        xdo('mousemove', x, y, 'click', 1)
        time.sleep(0.2)
        # Away from the controls, so that no hint pops up over the window.
        xdo('mousemove', 1270, 1010)

    def type_into(self, name, text, paste=False):
        """Replaces a text field's whole content as a user would: by typing it (or, with paste,
        by pasting it from the clipboard first), and, where the field then shows something
        else, by pasting it. xdotool types a letter the keyboard map lacks by remapping a spare
        key, and under load the remapping can overtake the key press, so that a letter gets
        lost or another one comes out ("Водные" for "Входные"); typing slower makes that
        rarer, never impossible. A paste goes through the field's own clipboard path and
        carries every letter."""
        got = None
        ways = ('paste', 'type', 'paste') if paste else ('type', 'paste', 'paste')
        for way in ways:
            self.click(name)
            xdo('key', '--clearmodifiers', 'ctrl+Home', 'shift+ctrl+End')
            if not text:
                xdo('key', 'Delete')
            elif way == 'type':
                xdo('type', '--delay', 15, text)
            else:
                self.env.put_clipboard(text)
                xdo('key', '--clearmodifiers', 'ctrl+v')
            time.sleep(0.3)
            got = self.child_at(self.state(), name)
            if got is not None and got['text'].strip() == text.strip():
                return
            print('%s: %s gave %r, not %r' % (name, way, got and got['text'], text), flush=True)
        raise Failure('%s shows %r after typing and pasting %r' % (
            name, got and got['text'], text))

    def choose(self, name, items, index):
        """Picks a fixed-list item with the keyboard: focus the box, go to the first item,
        then step down."""
        self.click(name)
        time.sleep(0.4)
        self.close_popups()  # the list may drop down on the click: close it, keep the focus
        xdo('key', *(['Up'] * len(items)))
        if index:
            xdo('key', *(['Down'] * index))
        time.sleep(0.3)
        self.close_popups()
        got = self.child_at(self.state(), name)
        shown = got['text'] if got else None
        if shown is not None and shown != '' and shown != items[index]:
            raise Failure('%s shows %r, wanted %r' % (name, shown, items[index]))

    def close_popups(self):
        """A dropped-down list would swallow the next click; Escape closes it."""
        for _ in range(5):
            if not self.state()['dialogs']:
                return
            xdo('key', 'Escape')
            time.sleep(0.3)
        raise Failure('a popup window does not close: %s' % [
            (w['class'], w['text']) for w in self.state()['dialogs']])

    def set_check(self, on):
        for _ in range(2):
            box = self.child_at(self.state(), 'CheckBox1')
            if box is None:
                raise Failure('no check box under its designed place')
            if bool(box['check']) == on:
                return
            self.click('CheckBox1', dx=6)
        raise Failure('the diagnostics box does not follow clicks')

    def fill(self, in_dir, out_dir, target, formation_index=None, formations=None,
             diagnostics=False):
        # One folder typed, the other pasted: both ways into a field are a user's.
        self.type_into('Memo1', in_dir)
        self.type_into('Memo2', out_dir, paste=True)
        self.choose('cxComboBox1', TARGETS, target)
        if formation_index is not None:
            self.choose('cxComboBox2', formations, formation_index)
        self.set_check(diagnostics)

    # ---- a run ----

    def log_lines(self, s=None):
        s = s or self.state()
        pane = next((c for c in s['main']['children'] if 'richedit' in c['class'].lower()), None)
        if pane is None:
            raise Failure('no rich-edit log pane in the main window')
        text = self.env.probe_text(pane['hwnd'])
        return [ln for ln in text.replace('\r\n', '\n').replace('\r', '\n').split('\n')]

    def run(self, shots=None, timeout=120, done=None, on_progress=None):
        """Presses "Пересчет" and waits until the run has ended: no progress window, the main
        window enabled, the closing log line present, and no GIS process working. Returns
        (log lines, dialogs that appeared)."""
        self.close_popups()
        before = self.log_lines()
        # A GIS process that an earlier failure left behind is that scenario's finding.
        stale = self.gis_pids()
        self.click('cxButton1')
        seen_progress = False
        dialogs = []
        stable = 0
        end = time.time() + timeout
        while time.time() < end:
            if self.proc.poll() is not None:
                raise Failure('the program ended during the run (exit code %s)' %
                              self.proc.returncode)
            s = self.state()
            if s['progress'] is not None:
                if not seen_progress and shots:
                    time.sleep(0.5)
                    s2 = self.state()
                    if s2['progress'] is not None:
                        raise_if_hidden(s2['progress']['text'], CAPTION)
                        screenshot(s2['progress']['rect'], shots)
                seen_progress = True
                if on_progress and on_progress(self, s):
                    on_progress = None
                stable = 0
            elif s['dialogs']:
                # A window that comes and goes (a progress window still being made, a
                # list dropping down) is no message: a dialog stays until answered.
                time.sleep(0.7)
                again = self.state()
                hwnds = {d['hwnd'] for d in s['dialogs']}
                stayed = [d for d in again['dialogs'] if d['hwnd'] in hwnds]
                if stayed:
                    screenshot((0, 0, 1280, 1024), os.path.join(
                        self.env.screens, 'dialog-%d.png' % stayed[0]['hwnd']))
                    return None, stayed
            else:
                lines = self.log_lines(s)
                closing = any(ln in CLOSING_LINES for ln in lines)
                busy = bool(self.gis_pids(s) - stale)
                # A log left by an earlier run ends the same way: this run must have shown
                # itself first, by its progress window, a log of its own or its outputs.
                finished = done is None or done()
                fresh = seen_progress or lines != before or done is not None and finished
                if fresh and closing and not busy and s['main']['enabled'] and finished:
                    stable += 1
                    if stable >= 2:
                        return lines, dialogs
                else:
                    stable = 0
            time.sleep(0.5)
        s = self.state()
        raise Failure('the run did not end within %d s; progress window %s, main window %s, '
                      'GIS processes %s, outputs %s, log ends %s' % (
                          timeout, 'open' if s['progress'] else 'closed',
                          'enabled' if s['main']['enabled'] else 'disabled',
                          sorted(self.gis_pids(s)), done() if done else '-',
                          self.log_lines(s)[-6:]))

    def gis_pids(self, s=None):
        s = s or self.env.probe()
        return {p['pid'] for p in s['processes'] if p['exe'].lower() == GIS_EXE.lower()}

    def screenshot(self, path):
        s = self.state()
        screenshot(s['main']['rect'], path)

    def close(self):
        if self.proc.poll() is None:
            s = self.state()
            for d in s['dialogs']:
                self.env.probe_run('close', d['hwnd'])
            if s['main']:
                self.env.probe_run('close', s['main']['hwnd'])
            try:
                self.proc.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
                self.log.close()
                raise Failure('the program did not end after its window was closed')
            # A crash on the way out still ends the process, seconds later.
            if self.proc.returncode != 0:
                self.log.close()
                raise Failure('the program ended with exit code %d after its window was closed'
                              % self.proc.returncode)
        self.log.close()
        # Wine reports an exception nobody handled on the program's console, whatever exit
        # code the process ends with.
        crash = self.console_faults()
        if crash:
            raise Failure('the program reported an unhandled exception: %s' % crash)

    def console_faults(self):
        with open(self.log.name, 'rb') as fh:
            text = fh.read().decode('utf-8', errors='replace')
        return [ln for ln in text.splitlines() if re.search(r'unhandled (page fault|exception)',
                                                            ln, re.I)][:3]

    def leftovers(self, timeout=10):
        """Names of our processes still alive once the program has gone (none expected)."""
        end = time.time() + timeout
        while True:
            left = [p['exe'] for p in self.env.probe()['processes']
                    if p['exe'].lower() == PROGRAM_EXE.lower() or
                    (p['exe'].lower() == GIS_EXE.lower() and p['pid'] not in self.gis_before)]
            if not left or time.time() > end:
                return left
            time.sleep(0.5)
