"""A private X desktop (Xvfb with openbox) and the real program on it, driven through
real input (xdotool) and observed through the X server, the files and screenshots."""
import os
import re
import shutil
import subprocess
import tempfile
import time

TWIPS_PER_PIXEL = 15
MAIN_TITLE = "Kelvora工具  演讲计时与随机抽签"


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
        self.wm = subprocess.Popen(["openbox"], env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        if not self.wait_for(self.window_manager_running, 15):
            raise RuntimeError("the window manager did not start")

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
        for p in self.processes:
            if p.poll() is None:
                p.kill()
                p.wait(5)
        shutil.rmtree(self.folder, ignore_errors=True)
