"""A private X desktop (Xvfb with openbox) and the real program on it, driven through
real input (xdotool) and observed through the X server, the files and screenshots."""
import ctypes
import os
import re
import shutil
import signal
import subprocess
import tempfile
import time

TWIPS_PER_PIXEL = 15
MAIN_TITLE = "Kelvora工具  演讲计时与随机抽签"


def adopt_orphans():
    """Makes this process the parent of orphans among its descendants (the private office
    of a program that was killed), so that they can still be found and ended by id."""
    PR_SET_CHILD_SUBREAPER = 36
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)


def live_descendants(spare=()):
    """Ids of this process's live descendants, but those named and their own children."""
    parent = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        if fields[0] != "Z":
            parent[int(entry)] = int(fields[1])
    me, found = os.getpid(), []
    for pid in parent:
        p = pid
        while p in parent and p not in spare:
            p = parent[p]
            if p == me:
                found.append(pid)
                break
    return found


def end_descendants(spare=(), grace=5.0):
    """Ends what this test started and is still running: asked first, then forced."""
    for sig, wait in ((signal.SIGTERM, grace), (signal.SIGKILL, 2.0)):
        left = live_descendants(spare)
        for pid in left:
            try:
                os.kill(pid, sig)
            except ProcessLookupError:
                pass
        end = time.monotonic() + wait
        while left and time.monotonic() < end:
            time.sleep(0.05)
            reap_children()
            left = live_descendants(spare)


def reap_children():
    try:
        while os.waitpid(-1, os.WNOHANG)[0] > 0:
            pass
    except ChildProcessError:
        pass


class Desktop:
    def __init__(self, width=1280, height=800):
        self.width, self.height = width, height
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp"],
            pass_fds=(write,), stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        self.env = dict(os.environ, DISPLAY=f":{number}", QT_QPA_PLATFORM="xcb", SAL_USE_VCLPLUGIN="gen")
        self.env.pop("XDG_RUNTIME_DIR", None)
        self.wm_log = tempfile.TemporaryFile()
        self.wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env, stdout=self.wm_log,
                                   stderr=subprocess.STDOUT)
        if not self.wait_for(lambda: self.window_manager_running() or self.wm.poll() is not None, 30) or \
                self.wm.poll() is not None:
            self.wm_log.seek(0)
            said = self.wm_log.read().decode(errors="replace")
            self.close()
            raise RuntimeError(f"the window manager did not start: {said}")

    def window_manager_running(self):
        r = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env, capture_output=True,
                           text=True, timeout=10)
        return "window id" in r.stdout

    def close(self):
        for p in (self.wm, self.xvfb):
            p.terminate()
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()

    def xdotool(self, *args):
        r = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True, timeout=20)
        return r.stdout.strip() if r.returncode == 0 else None

    def windows(self, name, visible=True):
        args = ["search"] + (["--onlyvisible"] if visible else []) + ["--name", name]
        out = self.xdotool(*args)
        return out.split() if out else []

    def windows_sized(self, width, height=None):
        """Visible windows of that size in pixels (for windows without a title)."""
        found = []
        for w in self.windows(""):
            _, _, ww, hh = self.geometry(w)
            if ww == width and (height is None or hh == height):
                found.append(w)
        return found

    def geometry(self, window):
        """Position and size in pixels of the window's client area, as the X server has it."""
        out = self.xdotool("getwindowgeometry", "--shell", window) or ""
        values = dict(line.split("=", 1) for line in out.splitlines() if "=" in line)
        return tuple(int(values.get(k, -99999)) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def click(self, window, left_twips, top_twips):
        self.xdotool("mousemove", "--window", window, str(left_twips // TWIPS_PER_PIXEL),
                     str(top_twips // TWIPS_PER_PIXEL), "click", "1")

    def move_pointer(self, x, y):
        self.xdotool("mousemove", str(x), str(y))

    def type_into(self, window, left_twips, top_twips, text):
        self.click(window, left_twips, top_twips)
        self.xdotool("key", "ctrl+a")
        self.xdotool("type", "--delay", "30", text)

    def key(self, *keys):
        self.xdotool("key", *keys)

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env, check=False, timeout=30)

    def pixel(self, x, y):
        """The colour at (x, y) on the screen as "#RRGGBB"."""
        r = subprocess.run(["import", "-window", "root", "-depth", "8", "-crop", f"1x1+{x}+{y}", "txt:-"],
                           env=self.env, capture_output=True, text=True, timeout=30)
        found = re.search(r"#([0-9A-Fa-f]{6})\b", r.stdout)
        return "#" + found.group(1).upper() if found else None

    @staticmethod
    def wait_for(condition, seconds=30.0, step=0.1):
        """Waits, bounded, for another process to show the expected state."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            value = condition()
            if value:
                return value
            time.sleep(step)
        return condition()


class Program:
    """The real Vexlo8.12 in its own folder holding copies of the data files."""

    def __init__(self, desktop, binary, data_dir):
        self.desktop = desktop
        self.folder = tempfile.mkdtemp(prefix="vexlo-e2e-")
        for name in os.listdir(data_dir):
            shutil.copy(os.path.join(data_dir, name), self.folder)
        # Laid out as a user has it: the program beside its data files, started there.
        self.binary = os.path.join(self.folder, os.path.basename(binary))
        shutil.copy(binary, self.binary)
        self.processes = []

    def start(self):
        # The slide draw logs what it drew; the test compares that with the screen.
        env = dict(self.desktop.env, QT_LOGGING_RULES="vexlo.draws.slides.debug=true\nvexlo.office.*.debug=true")
        with open(self.log_path, "ab") as log:
            p = subprocess.Popen([self.binary], cwd=self.folder, env=env, stdout=subprocess.DEVNULL, stderr=log)
        self.processes.append(p)
        return p

    @property
    def log_path(self):
        return os.path.join(self.folder, "program.log")

    def log(self):
        with open(self.log_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def main_window(self, seconds=15):
        found = self.desktop.wait_for(lambda: self.desktop.windows(MAIN_TITLE), seconds)
        return found[0] if found else None

    def close(self):
        # Asked to end as a logout asks it, so the program gives everything back; then,
        # by their ids, whatever of its own it left behind.
        for p in self.processes:
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(20)
                except subprocess.TimeoutExpired:
                    p.kill()
                    p.wait(5)
        end_descendants(spare=(self.desktop.xvfb.pid, self.desktop.wm.pid))
        shutil.rmtree(self.folder, ignore_errors=True)
