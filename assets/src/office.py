"""A private, headless LibreOffice for the asset generator.

Every run gets its own profile and pipe so it never attaches to an office someone
else is using, and the office is always shut down again, killed if it will not go.
Needs the python3-uno bridge, i.e. /usr/bin/python3.
"""
import os
import shutil
import signal
import subprocess
import tempfile
import time
import uuid

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.connection import NoConnectException

SOFFICE = "/usr/lib/libreoffice/program/soffice"


def props(**kwargs):
    """UNO property sequence from keyword arguments."""
    out = []
    for key, value in kwargs.items():
        p = PropertyValue()
        p.Name = key
        p.Value = value
        out.append(p)
    return tuple(out)


def file_url(path):
    return uno.systemPathToFileUrl(os.path.abspath(path))


class Office:
    def __init__(self, connect_timeout=90.0):
        self.workdir = tempfile.mkdtemp(prefix="vexlo-assets-")
        self.pipe = "vexlo_assets_%d_%s" % (os.getpid(), uuid.uuid4().hex[:10])
        profile = file_url(os.path.join(self.workdir, "profile"))
        env = dict(os.environ)
        # --headless brings its own display-less backend; a forced X11 plugin would
        # make the office look for a display it does not need.
        env.pop("SAL_USE_VCLPLUGIN", None)
        self.proc = subprocess.Popen(
            [SOFFICE, "--headless", "--invisible", "--norestore", "--nologo",
             "--nodefault", "--nolockcheck", "-env:UserInstallation=" + profile,
             "--accept=pipe,name=%s;urp;" % self.pipe],
            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, env=env, start_new_session=True)
        try:
            self.ctx = self._connect(connect_timeout)
            smgr = self.ctx.ServiceManager
            self.desktop = smgr.createInstanceWithContext(
                "com.sun.star.frame.Desktop", self.ctx)
        except BaseException:
            self.close()
            raise

    def _connect(self, timeout):
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext(
            "com.sun.star.bridge.UnoUrlResolver", local)
        url = "uno:pipe,name=%s;urp;StarOffice.ComponentContext" % self.pipe
        deadline = time.monotonic() + timeout
        while True:
            try:
                return resolver.resolve(url)
            except NoConnectException:
                pass
            if self.proc.poll() is not None:
                raise RuntimeError("soffice exited early with code %s" % self.proc.returncode)
            if time.monotonic() > deadline:
                raise RuntimeError("soffice did not answer within %.0f s" % timeout)
            time.sleep(0.2)

    def new_document(self, kind):
        """kind: 'scalc' or 'simpress'."""
        return self.desktop.loadComponentFromURL(
            "private:factory/" + kind, "_blank", 0, props(Hidden=True))

    def load(self, path, **extra):
        return self.desktop.loadComponentFromURL(
            file_url(path), "_blank", 0, props(Hidden=True, **extra))

    def close(self):
        try:
            if getattr(self, "desktop", None) is not None:
                self.desktop.terminate()
        except Exception:
            pass  # the bridge dies with the office; that is the point
        try:
            self.proc.wait(timeout=30)
        except subprocess.TimeoutExpired:
            pass
        # The launcher, its splash helper and soffice.bin share our process group.
        for sig in (signal.SIGTERM, signal.SIGKILL):
            try:
                os.killpg(self.proc.pid, 0)
            except ProcessLookupError:
                break
            os.killpg(self.proc.pid, sig)
            for _ in range(50):
                self.proc.poll()  # reap the leader so it does not linger as a zombie
                try:
                    os.killpg(self.proc.pid, 0)
                except ProcessLookupError:
                    break
                time.sleep(0.1)
        if self.proc.poll() is None:
            self.proc.wait(timeout=5)
        stale_pipe = "/tmp/OSL_PIPE_%d_%s" % (os.getuid(), self.pipe)
        if os.path.exists(stale_pipe):
            os.unlink(stale_pipe)
        shutil.rmtree(self.workdir, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
        return False
