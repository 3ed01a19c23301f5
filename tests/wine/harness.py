"""The Wine test harness: throwaway prefixes, their X display, and the
programs that run in them.

A template prefix is made once per build tree; every test group works in a
copy of it, under its own Xvfb display and its own wineserver, and removes
both at the end. Wine is the platform under test here: nothing of Windows is
mocked.

Which Wine: a 32-bit prefix with the i686 build (its programs, test helpers
and the installer that carries the i686 stand-ins) where this machine can
execute 32-bit x86 code, else a 64-bit prefix with the x86_64 build of the same
sources (some kernels run 64-bit user code only). VARNEK_WINE_ARCH=win32 or
win64 overrides the choice; the 32-bit mode has not run on the machines here.
"""
import fcntl
import json
import os
import re
import select
import shutil
import signal
import subprocess
import tempfile
import time
import unittest

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("VARNEK_BUILD_DIR", os.path.join(REPO, "build"))
WINE_DIR = "/usr/lib/wine"

INSTALLER_CAPTION = "Varnek打印机驱动安装程序"
INSTALLER_MSG_CAPTION = "安裝Varnek打印机驱动"


def _can_run_32bit():
    try:
        subprocess.run([os.path.join(WINE_DIR, "wine"), "--version"], capture_output=True, timeout=30)
        return True
    except OSError:
        return False  # ENOEXEC: the kernel runs no 32-bit user code


def wine_arch():
    arch = os.environ.get("VARNEK_WINE_ARCH")
    if arch in ("win32", "win64"):
        return arch
    return "win32" if _can_run_32bit() else "win64"


ARCH = wine_arch()
LOADER = os.path.join(WINE_DIR, "wine" if ARCH == "win32" else "wine64")
WINESERVER = os.path.join(WINE_DIR, "wineserver32" if ARCH == "win32" else "wineserver64")
# The build of the programs that runs in this prefix.
FLAVOUR = os.path.join(BUILD, ARCH)


def program(relative):
    """A program of the build flavour that runs in the prefix, e.g. 'installer/VarnekPrinterSetup.exe'."""
    return os.path.join(FLAVOUR, relative)


def base_env(prefix, display=None):
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": prefix,
        "WINEARCH": ARCH,
        "WINELOADER": LOADER,
        "WINESERVER": WINESERVER,
        "WINEDEBUG": "-all",
        "LC_ALL": "zh_CN.UTF-8",
        # No menu entries in the Linux user's home, no Mono or Gecko dialogs.
        "WINEDLLOVERRIDES": "winemenubuilder.exe=d;mscoree,mshtml=",
    })
    if display:
        env["DISPLAY"] = display
    else:
        env.pop("DISPLAY", None)
    return env


def _run_wine(env, args, timeout):
    """Runs a program under Wine and waits for it.

    Output goes through files, not pipes: processes that Wine starts on the
    side (services, explorer) inherit the handles and would keep a pipe open
    long after the program ended.
    """
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen(["timeout", "-k", "5", str(timeout), LOADER] + list(args), env=env,
                                   stdin=subprocess.DEVNULL, stdout=out, stderr=err)
        returncode = process.wait(timeout + 30)
        out.seek(0)
        err.seek(0)
        return subprocess.CompletedProcess(args, returncode, out.read(), err.read())


# Fonts with the metrics of Chinese Windows, where both faces resolve to
# SimSun: the templates' "MS Sans Serif" 9 gives dialog base units of 6 x 12
# (Wine's default CJK font gives 7 x 14), and the page fonts' "Ms Scanf" a
# Song face of the cell heights asked for (docs/wine-harness.md).
FONT_SUBSTITUTES = [("MS Sans Serif", "AR PL SungtiL GB"), ("Ms Scanf", "AR PL UMing CN")]
MARLETT = "/usr/share/wine/fonts/marlett.ttf"
# Written into the ready marker: a template made with other settings is made again.
TEMPLATE_SETTINGS = "fonts %s, Marlett" % FONT_SUBSTITUTES


def template_prefix():
    """The prefix every test group copies; made once per build tree."""
    path = os.path.join(BUILD, "wine", "template-" + ARCH)
    marker = os.path.join(path, ".varnek-ready")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if os.path.exists(marker):
            with open(marker) as f:
                if f.read() == TEMPLATE_SETTINGS:
                    return path
        shutil.rmtree(path, ignore_errors=True)
        env = base_env(path)
        _run_wine(env, ["wineboot", "-i"], 300)
        settings = [
            # Without a window manager Wine would draw no frame and wait 2 s on every hide.
            ["HKCU\\Software\\Wine\\X11 Driver", "Managed", "REG_SZ", "N"],
            # A crash ends the program with a backtrace instead of opening winedbg's dialog.
            ["HKCU\\Software\\Wine\\WineDbg", "ShowCrashDialog", "REG_DWORD", "0"],
        ] + [["HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\FontSubstitutes", face, "REG_SZ",
              substitute] for face, substitute in FONT_SUBSTITUTES]
        for key, value, kind, data in settings:
            _run_wine(env, ["reg", "add", key, "/v", value, "/t", kind, "/d", data, "/f"], 60)
        # The caption buttons' symbols; Wine's own copy is not found from this loader.
        shutil.copy(MARLETT, os.path.join(path, "drive_c", "windows", "Fonts"))
        subprocess.run([WINESERVER, "-w"], env=env, timeout=120)
        with open(marker, "w") as f:
            f.write(TEMPLATE_SETTINGS)
        return path


class Session:
    """A copy of the template prefix with its own display and wineserver."""

    def __init__(self, name, display=None):
        """display: an X display to use instead of a private Xvfb."""
        runs = os.path.join(BUILD, "wine", "runs")
        os.makedirs(runs, exist_ok=True)
        self.dir = tempfile.mkdtemp(prefix=name + "-", dir=runs)
        self.prefix = os.path.join(self.dir, "pfx")
        subprocess.run(["cp", "-a", template_prefix(), self.prefix], check=True)
        self._xvfb, self.display = (None, display) if display else self._start_xvfb()
        self.env = base_env(self.prefix, self.display)
        # One wineserver for the whole group: a new session would start
        # auto-start services again and cost time.
        subprocess.run([WINESERVER, "-p"], env=self.env, check=True)
        self._processes = []
        self._driver = None
        self._closed = False
        # The first program of a session starts Wine's own services; let that
        # happen now rather than inside a test's time limits.
        self.run("reg", "query", "HKCU\\Software\\Wine", timeout=120)

    @staticmethod
    def _start_xvfb():
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24",
                                 "-nolisten", "tcp"], pass_fds=[write_end], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            number = f.readline().strip()
        if not number:
            xvfb.kill()
            raise RuntimeError("Xvfb did not start")
        return xvfb, ":" + number

    def close(self):
        if self._closed:
            return
        self._closed = True
        if self._driver and self._driver.poll() is None:
            self._driver.stdin.close()
            try:
                self._driver.wait(10)
            except subprocess.TimeoutExpired:
                self._driver.kill()
        for process in self._processes:
            if process.poll() is None:
                process.kill()
        subprocess.run([WINESERVER, "-k"], env=self.env, capture_output=True, timeout=60)
        subprocess.run([WINESERVER, "-w"], env=self.env, capture_output=True, timeout=60)
        if self._xvfb:
            self._xvfb.send_signal(signal.SIGTERM)
            try:
                self._xvfb.wait(10)
            except subprocess.TimeoutExpired:
                self._xvfb.kill()
        if not os.environ.get("VARNEK_KEEP_PREFIX"):
            shutil.rmtree(self.dir, ignore_errors=True)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # -- running programs --------------------------------------------------

    def run(self, *args, timeout=60, check=True):
        """Runs a program (Unix path or Windows name) and waits; returns stdout as text."""
        result = _run_wine(self.env, args, timeout)
        if check and result.returncode != 0:
            raise AssertionError("%s exited with %d: %s" % (args, result.returncode,
                                                           result.stderr.decode(errors="replace")))
        return result

    def start(self, *args, cwd=None):
        """Starts a program without waiting (a GUI program blocks until it ends).
        cwd: a C: folder of the prefix to start it in, as a shortcut's working directory."""
        process = subprocess.Popen([LOADER] + list(args), env=self.env, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   cwd=self.unix_path(cwd) if cwd else None)
        self._processes.append(process)
        return process

    def stop_started(self):
        """Ends the programs that start() started and that still run."""
        for process in self._processes:
            if process.poll() is None:
                process.kill()
                process.wait(10)
        self._processes = []

    def wizdrv(self, *args, timeout=60):
        """Runs a GUI driver command; returns (exit code, parsed JSON output or None).

        The driver runs once per session and takes one command per line:
        starting a Wine process costs about half a second.
        """
        if self._driver is None or self._driver.poll() is not None:
            self._driver = subprocess.Popen([LOADER, program("tests/wine/wizdrv.exe"), "serve"], env=self.env,
                                            stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                            stderr=subprocess.DEVNULL)
        line = "\t".join(str(a) for a in args) + "\n"
        self._driver.stdin.write(line.encode("utf-8"))
        self._driver.stdin.flush()
        # Read the raw descriptor: select() knows nothing of Python's buffer.
        pending = b""
        deadline = time.time() + timeout
        while b"\x1e" not in pending or not pending.endswith(b"\n"):
            ready, _, _ = select.select([self._driver.stdout], [], [], max(0.0, deadline - time.time()))
            if not ready:
                self._driver.kill()
                raise AssertionError("the GUI driver did not answer %r in time" % (args,))
            chunk = os.read(self._driver.stdout.fileno(), 65536)
            if not chunk:
                raise AssertionError("the GUI driver ended")
            pending += chunk
        text, _, status = pending.decode("utf-8", errors="replace").rpartition("\x1e")
        rc = int(status)
        output = [text]
        out = "".join(output).strip()
        return rc, (json.loads(out) if out.startswith("{") else None)

    # -- reading the prefix ------------------------------------------------

    def unix_path(self, windows_path):
        """The file behind a C: path of the prefix."""
        assert windows_path[:3].upper() == "C:\\", windows_path
        return os.path.join(self.prefix, "drive_c", *windows_path[3:].split("\\"))

    def reg_query(self, key, value):
        """(type, data) of a registry value, data as Wine's reg prints it; None when missing."""
        result = self.run("reg", "query", key, "/v", value, check=False)
        if result.returncode != 0:
            return None
        for line in result.stdout.decode("gbk", errors="replace").splitlines():
            match = re.match(r"^\s+(.*?) {4}(REG_\w+)(?: {4}(.*))?$", line)
            if match and match.group(1) == value:
                return match.group(2), match.group(3) or ""
        return None


class Wizard:
    """A wizard dialog of a running program, driven through wizdrv."""

    def __init__(self, session, caption):
        self.session = session
        self.caption = caption

    def wait(self, timeout_ms=15000):
        rc, _ = self.session.wizdrv("wait", self.caption, timeout_ms)
        return rc == 0

    def gone(self, timeout_ms=10000):
        rc, _ = self.session.wizdrv("gone", self.caption, timeout_ms)
        return rc == 0

    def state(self):
        rc, data = self.session.wizdrv("state", self.caption)
        if rc != 0:
            raise AssertionError("no dialog %r" % self.caption)
        return data

    def click(self, control_id):
        rc, _ = self.session.wizdrv("click", self.caption, control_id)
        if rc != 0:
            raise AssertionError("could not click %d (hidden, disabled or no dialog)" % control_id)

    def set_folder(self, text):
        rc, _ = self.session.wizdrv("settext", self.caption, text)
        if rc != 0:
            raise AssertionError("the folder box is not shown")

    def key(self, name):
        self.session.wizdrv("key", self.caption, name)

    def close(self):
        self.session.wizdrv("close", self.caption)

    def syscommand(self, command_id):
        self.session.wizdrv("syscommand", self.caption, command_id)

    def texts(self):
        """{control id (str): text} of every child control."""
        rc, data = self.session.wizdrv("texts", self.caption)
        if rc != 0:
            raise AssertionError("no dialog %r" % self.caption)
        return data

    def message_box(self, timeout_ms=5000, press=None):
        args = ["msgbox", timeout_ms] + (["--press", press] if press else [])
        rc, data = self.session.wizdrv(*args)
        return data if rc == 0 else None

    def no_message_box(self, timeout_ms=1000):
        rc, _ = self.session.wizdrv("nobox", timeout_ms)
        return rc == 0

    def hold(self, min_pos, timeout_ms=30000):
        """Stops the program's worker once the progress bar shows min_pos or more
        (its threads but the dialog's are suspended); the position, or None."""
        rc, data = self.session.wizdrv("hold", self.caption, min_pos, timeout_ms, timeout=timeout_ms / 1000 + 30)
        return data["pos"] if rc == 0 else None

    def release(self):
        self.session.wizdrv("release", self.caption)

    def capture(self, path, part=None):
        """Saves a 24-bit BMP of the dialog window, or of part "page" (its page
        window) or "client" (its client area)."""
        args = ["capture", self.caption, path] + ([part] if part else [])
        rc, _ = self.session.wizdrv(*args)
        if rc != 0:
            raise AssertionError("capture failed")


def wait_until(predicate, timeout=10.0, interval=0.1):
    """Polls predicate until it returns a true value or the time is up; returns its last value."""
    deadline = time.time() + timeout
    while True:
        value = predicate()
        if value or time.time() >= deadline:
            return value
        time.sleep(interval)


class WineTestCase(unittest.TestCase):
    """A test group sharing one session (one prefix copy, display and wineserver)."""

    session = None

    @classmethod
    def setUpClass(cls):
        cls.session = Session(cls.__name__.lower())
        # A class cleanup runs even when a subclass's setUpClass fails after
        # this, which tearDownClass would not: no wineserver or Xvfb is left.
        cls.addClassCleanup(cls.session.close)
