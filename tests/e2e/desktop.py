"""A private X desktop (Xvfb with openbox) and the real program on it, driven through
real input (xdotool) and observed through the X server, the files and screenshots."""
import ctypes
import os
import re
import shutil
import signal
import subprocess
import sys
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


def stop(process, grace=20):
    """Asks one process we started to end, as a logout does; kills it if it will not."""
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(grace)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait(5)


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


# How each window manager is started on a private display; each gets a D-Bus session bus
# of its own, as in a user's session.
MANAGERS = {
    "openbox": ["openbox", "--sm-disable"],
    "xfwm4": ["xfwm4", "--compositor=on", "--sm-client-disable"],
    "mutter": ["mutter", "--x11", "--sm-disable"],
    "kwin_x11": ["kwin_x11"],
}


def start_session_bus(env):
    """A D-Bus session bus of the desktop's own; returns the process, sets its address."""
    read, write = os.pipe()
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", f"--print-address={write}"],
                           pass_fds=(write,), env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as f:
        env["DBUS_SESSION_BUS_ADDRESS"] = f.readline().strip()
    return bus


def private_config(env):
    """A configuration folder of the desktop's own, as a new user has it: what the window
    managers and KDE's shortcut service keep there (a key the user cleared) must not carry
    over from one test, or from the user's own desktop, to the next."""
    env["XDG_CONFIG_HOME"] = tempfile.mkdtemp(prefix="vexlo-config-")
    return env["XDG_CONFIG_HOME"]


def lock_holder(number):
    """The process id in an X display's lock file, None when there is none."""
    try:
        with open(f"/tmp/.X{number}-lock") as f:
            return int(f.read().strip())
    except (OSError, ValueError):
        return None


def listeners(number):
    """Ids of the processes listening under an X display number (its socket file or the
    abstract socket of that name): a server may still hold the number after its files are
    gone, while it ends."""
    names = (f"/tmp/.X11-unix/X{number}", f"@/tmp/.X11-unix/X{number}")
    with open("/proc/net/unix") as f:
        inodes = {line.split()[6] for line in f if line.split()[-1] in names}
    if not inodes:
        return []
    found = set()
    for entry in filter(str.isdigit, os.listdir("/proc")):
        try:
            for fd in os.listdir(f"/proc/{entry}/fd"):
                target = os.readlink(f"/proc/{entry}/fd/{fd}")
                if target.startswith("socket:[") and target[8:-1] in inodes:
                    found.add(int(entry))
        except OSError:
            continue
    return sorted(found) or ["?"]


def display_state(number):
    """What holds an X display number, for a failure's message."""
    socket = "present" if os.path.exists(f"/tmp/.X11-unix/X{number}") else "gone"
    return f"lock held by {lock_holder(number)}, socket file {socket}, listening: {listeners(number)}"


def keep_diagnostics(test, desktop, program, folder):
    """Once a test has failed, keeps in `folder` what explains it: the program's debug log,
    the screen, and the X state of the program's windows, as they were."""
    result = getattr(getattr(test, "_outcome", None), "result", None)
    failed = result is not None and any(t is test for t, _ in result.failures + result.errors)
    if not folder or not failed or getattr(test, "diagnosed", False):
        return
    test.diagnosed = True
    os.makedirs(folder, exist_ok=True)
    name = os.path.join(folder, test.id().split(".")[-1])
    desktop.screenshot(name + ".png")
    shutil.copy(program.log_path, name + ".log")
    with open(name + ".windows.txt", "w", encoding="utf-8") as f:
        f.write(program.window_states())
    print(f"diagnostics (log, screenshot): {name}.log, {name}.png", file=sys.stderr)


def start_xvfb(width, height):
    """An Xvfb on a free display number of our choosing; returns the process and number.
    Not -displayfd: such a server holds no /tmp/.X<n>-lock, and KWin's XWayland took its
    number and removed its socket file, after which the display answered nobody."""
    for number in range(1, 200):
        if os.path.exists(f"/tmp/.X{number}-lock") or os.path.exists(f"/tmp/.X11-unix/X{number}") or \
                listeners(number):
            continue
        # -noreset: the server would reset once our check below leaves it, its last client,
        # and turn away the window manager connecting meanwhile (seen under load).
        xvfb = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", f"{width}x{height}x24", "-nolisten", "tcp",
                                 "-noreset"], stderr=subprocess.DEVNULL)
        end = time.monotonic() + 10
        while xvfb.poll() is None and time.monotonic() < end:
            # Ours once it holds the number's lock and answers (an answer alone may come from
            # another server still listening under that number).
            if lock_holder(number) == xvfb.pid and subprocess.run(
                    ["xdpyinfo", "-display", f":{number}"], capture_output=True, timeout=5).returncode == 0:
                return xvfb, number
            time.sleep(0.05)
        # Another server took the number meanwhile, or this one never answered.
        stop(xvfb, grace=5)
    raise RuntimeError("no free X display number for Xvfb")


class Desktop:
    def __init__(self, width=1280, height=800, manager="openbox"):
        self.width, self.height, self.manager = width, height, manager
        self.processes = []
        self.wm = self.wm_log = None
        self.xvfb, number = start_xvfb(width, height)
        self.env = dict(os.environ, DISPLAY=f":{number}", QT_QPA_PLATFORM="xcb", SAL_USE_VCLPLUGIN="gen")
        self.env.pop("XDG_RUNTIME_DIR", None)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.config = private_config(self.env)
        self.start_manager(MANAGERS[manager])

    def start_manager(self, command, attempts=2):
        if self.manager != "openbox":
            self.processes.append(start_session_bus(self.env))
        for attempt in range(attempts):
            self.wm_log = tempfile.TemporaryFile()
            self.wm = subprocess.Popen(command, env=self.env, stdout=self.wm_log, stderr=subprocess.STDOUT)
            # Mutter now and then waits long for something on the session bus before it
            # takes the display; once in a while it does not come at all, and is started anew.
            if self.wait_for(lambda: self.window_manager_running() or self.wm.poll() is not None, 60) and \
                    self.wm.poll() is None:
                return
            self.wm_log.seek(0)
            said = self.wm_log.read().decode(errors="replace")
            self.wm_log.close()
            self.wm.terminate()
            try:
                self.wm.wait(10)
            except subprocess.TimeoutExpired:
                self.wm.kill()
                self.wm.wait(5)
            print(f"{self.manager} did not start (attempt {attempt + 1}): {said[-500:]}", file=sys.stderr)
        display = self.env["DISPLAY"]
        server = "running" if self.xvfb is None or self.xvfb.poll() is None else f"ended ({self.xvfb.returncode})"
        held = display_state(display[1:])
        self.close()
        raise RuntimeError(f"the window manager {self.manager} did not start on {display} (its server {server}, "
                           f"pid {self.xvfb.pid if self.xvfb else None}; {held}): {said[-2000:]}")

    def pids(self):
        """The desktop's own processes, which a test's clean-up leaves alone."""
        return [p.pid for p in (self.xvfb, self.wm, *self.processes) if p is not None]

    def window_manager_running(self):
        r = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env, capture_output=True,
                           text=True, timeout=10)
        return "window id" in r.stdout

    def close(self):
        for p in [self.wm, *self.processes, self.xvfb]:
            if p is None:
                continue
            stop(p, grace=5)
        if self.wm_log is not None:
            self.wm_log.close()
        # What the desktop's processes left running (KWin's XWayland, the portal's helpers)
        # ends with it, so that no server of it still holds its display number when the next
        # desktop chooses one.
        end_descendants()
        shutil.rmtree(self.config, ignore_errors=True)

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
        # A person types once the window has come to the front. A manager slow to take the
        # click (xfwm4 under load) gives the keyboard to the window later; keys typed
        # meanwhile went to the window that had it before.
        if not self.wait_for(lambda: self.active() == int(window), 10):
            raise AssertionError(f"window {window} did not take the keyboard when clicked; {self.active()} has it")
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

    # ---- stacking and focus, as the X server has them ---------------------------------------

    def root_property_windows(self, prop):
        out = subprocess.run(["xprop", "-root", prop], env=self.env, capture_output=True, text=True,
                             timeout=10).stdout
        # "PROP(WINDOW): window id # 0x…" or "PROP(WINDOW) = 0x…, 0x…"; absent: "not found."
        values = re.split(r"[:=]", out, maxsplit=1)
        return [int(w, 16) for w in re.findall(r"0x[0-9a-fA-F]+", values[1])] if len(values) == 2 else []

    def active(self):
        found = self.root_property_windows("_NET_ACTIVE_WINDOW")
        return found[0] if found else 0

    def top_level(self, window):
        """The child of the root that holds the window (its frame, if the manager made one)."""
        w = int(window)
        for _ in range(10):
            out = subprocess.run(["xwininfo", "-id", str(w), "-tree"], env=self.env, capture_output=True,
                                 text=True, timeout=10).stdout
            root = re.search(r"Root window id: (0x[0-9a-f]+)", out)
            parent = re.search(r"Parent window id: (0x[0-9a-f]+)", out)
            if not root or not parent or parent.group(1) == root.group(1):
                return w
            w = int(parent.group(1), 16)
        return w

    def stacking(self):
        """Viewable children of the root with their areas, topmost first, as the X server
        draws them: [(window, (x, y, width, height))]."""
        out = subprocess.run(["xwininfo", "-root", "-children"], env=self.env, capture_output=True, text=True,
                             timeout=10).stdout
        found = []
        for w in (int(w, 16) for w in re.findall(r"^\s+(0x[0-9a-f]+)", out, re.M)):
            info = subprocess.run(["xwininfo", "-id", str(w)], env=self.env, capture_output=True, text=True,
                                  timeout=10).stdout
            if "IsViewable" in info and "Class: InputOutput" in info:
                area = [int(re.search(rf"{k}:\s+(-?\d+)", info).group(1))
                        for k in ("Absolute upper-left X", "Absolute upper-left Y", "Width", "Height")]
                found.append((w, tuple(area)))
        return found

    def covering(self, window):
        """Top-level windows drawn over any part of the window."""
        order = self.stacking()
        top = self.top_level(window)
        ids = [w for w, _ in order]
        if top not in ids:
            return ["(not shown)"]
        x, y, w, h = order[ids.index(top)][1]
        return [self.describe(o) for o, (ox, oy, ow, oh) in order[:ids.index(top)]
                if ox < x + w and x < ox + ow and oy < y + h and y < oy + oh]

    def describe(self, window):
        """The window and the names in it, for a message."""
        out = subprocess.run(["xwininfo", "-id", str(window), "-tree"], env=self.env, capture_output=True,
                             text=True, timeout=10).stdout
        names = re.findall(r'0x[0-9a-f]+ "([^"]*)"', out)[:3]
        return f"{hex(window)} {names}"

    def above(self, ours, other):
        """Whether one window stands above another, in one look at the stacking; None when
        either is not on screen then (a window of ours is made anew when it stacks itself
        above a show, and a blinking one is hidden half the time)."""
        if ours is None or other is None:
            return None
        a, b = self.top_level(ours), self.top_level(other)
        ids = [w for w, _ in self.stacking()]
        if a not in ids or b not in ids:
            return None
        return ids.index(a) < ids.index(b)

    def answer_by_click(self, program, title, button, seconds=30.0):
        """Clicks a box's button (Yes, No or Ok) where the program says it stands, as a person
        clicks what they see; the box must be the topmost window and go away."""
        box = self.wait_for(lambda: self.windows(f"^{title}$"), seconds)
        if not box:
            raise AssertionError(f"no box titled {title} appears")
        shown = re.compile(rf"box {re.escape(title)} button {button} at (\d+) (\d+)")

        def where():
            found = list(shown.finditer(program.log()))
            return found[-1] if found else None

        if not self.wait_for(where, 10):
            raise AssertionError("the program does not say where the box's buttons are")
        time.sleep(0.5)  # the manager has placed it; the report follows its moves
        uncovered = self.wait_for(lambda: not self.covering(box[0]), 5)
        covered_by = self.covering(box[0])
        report = where()
        self.xdotool("mousemove", report.group(1), report.group(2), "click", "1")
        if not uncovered:
            raise AssertionError(f"the box {title} is not on top: {covered_by} cover it")
        if not self.wait_for(lambda: not self.windows(f"^{title}$"), 10):
            raise AssertionError(f"a click on {button} does not answer the box {title}")

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


class WaylandDesktop(Desktop):
    """A Wayland session: KWin as the compositor, headless, with XWayland for X11 clients.
    The program is started without a platform of its own, as from a Wayland session."""

    def __init__(self, width=1280, height=800, outputs=1):
        """outputs: monitors of width x height side by side."""
        self.width, self.height, self.manager = width * outputs, height, "kwin_wayland"
        self.processes, self.xvfb = [], None
        self.runtime = tempfile.mkdtemp(prefix="vexlo-wl-")
        os.chmod(self.runtime, 0o700)
        self.env = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, SAL_USE_VCLPLUGIN="gen", XDG_SESSION_TYPE="wayland",
                        XDG_CURRENT_DESKTOP="KDE")
        for name in ("DISPLAY", "QT_QPA_PLATFORM", "WAYLAND_DISPLAY"):
            self.env.pop(name, None)
        self.config = private_config(self.env)
        self.processes.append(start_session_bus(self.env))
        said = os.path.join(self.runtime, "display")
        # The session's first program tells the test which X display XWayland serves.
        session = f"sh -c 'echo $DISPLAY > {said}.new && mv {said}.new {said} && exec sleep infinity'"
        # Debian's binary carries a file capability, which a container without that
        # privilege refuses to start; a copy without it runs (KWin only loses a scheduling
        # nicety). It keeps its name, by which KWin picks its own Qt platform.
        kwin = os.path.join(self.runtime, "bin", "kwin_wayland")
        os.makedirs(os.path.dirname(kwin))
        shutil.copy(shutil.which("kwin_wayland"), kwin)
        self.wm_log = tempfile.TemporaryFile()
        self.wm = subprocess.Popen(
            [kwin, "--virtual", "--xwayland", "--no-lockscreen", "--socket", "wayland-vexlo",
             "--width", str(width), "--height", str(height), "--output-count", str(outputs),
             "--exit-with-session", session],
            env=self.env, stdout=self.wm_log, stderr=subprocess.STDOUT)
        if not self.wait_for(lambda: os.path.exists(said) or self.wm.poll() is not None, 60) or \
                self.wm.poll() is not None:
            self.wm_log.seek(0)
            log = self.wm_log.read().decode(errors="replace")
            self.close()
            raise RuntimeError(f"kwin_wayland did not start: {log[-2000:]}")
        with open(said) as f:
            self.env["DISPLAY"] = f.read().strip()
        self.env["WAYLAND_DISPLAY"] = "wayland-vexlo"
        if not self.wait_for(self.window_manager_running, 30):
            self.close()
            raise RuntimeError("XWayland came up without KWin managing it")
        # As a Plasma session does: services the bus starts (the desktop portal and KDE's
        # part of it) are told of the displays.
        subprocess.run(["dbus-update-activation-environment", "WAYLAND_DISPLAY", "DISPLAY", "XDG_RUNTIME_DIR",
                        "XDG_CURRENT_DESKTOP", "XDG_SESSION_TYPE"], env=self.env, check=True, timeout=20)

    def kglobalaccel(self, component, method, *args):
        """Calls a component of KDE's shortcut service; its answer, None when it failed."""
        r = subprocess.run(["gdbus", "call", "--session", "-d", "org.kde.kglobalaccel", "-o", f"/component/{component}",
                            "-m", f"org.kde.kglobalaccel.Component.{method}", *args],
                           env=self.env, capture_output=True, text=True, timeout=20)
        return r.stdout if r.returncode == 0 else None

    def global_shortcut(self, component, name):
        """Presses a global shortcut as KWin does when its key is pressed: through KDE's
        shortcut service (the virtual session has no keyboard to press). False when no
        program has bound it."""
        return self.kglobalaccel(component, "invokeShortcut", name) is not None

    def global_shortcut_keys(self, component, name):
        """The keys (Qt key codes) KDE's shortcut service gives a program's shortcut; None
        while no program has bound it."""
        infos = self.kglobalaccel(component, "allShortcutInfos") or ""
        found = re.search(rf"\('{re.escape(name)}',[^)]*?(?:@ai )?\[([\d, ]*)\]", infos)
        return None if found is None else [int(k) for k in found.group(1).split(",") if k.strip()]

    def close(self):
        super().close()
        shutil.rmtree(self.runtime, ignore_errors=True)


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
        env = dict(self.desktop.env, QT_LOGGING_RULES="vexlo.draws.slides.debug=true\nvexlo.office.*.debug=true\n"
                   "vexlo.messages.debug=true\nvexlo.placement.debug=true\nvexlo.keys.portal.debug=true")
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

    def window_states(self):
        """For a failure's diagnostics: every X window of the program, mapped or not, as the
        server and the window manager hold it (a window the manager withdrew is unmapped and
        has no WM_STATE)."""
        lines = []
        for p in self.processes:
            for w in (self.desktop.xdotool("search", "--pid", str(p.pid)) or "").split():
                info = subprocess.run(["xwininfo", "-id", w], env=self.desktop.env, capture_output=True, text=True,
                                      timeout=10).stdout
                state = subprocess.run(["xprop", "-id", w, "WM_NAME", "WM_STATE"], env=self.desktop.env,
                                       capture_output=True, text=True, timeout=10).stdout
                keep = [line.strip() for line in info.splitlines() if re.search(r"Map State|-geometry", line)]
                lines.append(f"{w}: " + "; ".join(keep + [line.strip() for line in state.splitlines()]))
        return "\n".join(lines) + "\n"

    def main_window(self, seconds=15):
        found = self.desktop.wait_for(lambda: self.desktop.windows(MAIN_TITLE), seconds)
        return found[0] if found else None

    def close(self):
        # Asked to end as a logout asks it, so the program gives everything back; then,
        # by their ids, whatever of its own it left behind.
        for p in self.processes:
            stop(p)
        end_descendants(spare=self.desktop.pids())
        shutil.rmtree(self.folder, ignore_errors=True)
