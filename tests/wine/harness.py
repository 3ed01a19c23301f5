"""The Wine test harness: throwaway prefixes, their X display, and the
programs that run in them.

A template prefix is made once per build tree; every test group works in a
copy of it, under its own Xvfb display and its own wineserver, and removes
both at the end. Wine is the platform under test here: nothing of Windows is
mocked.

Which Wine: three modes, each named for the Windows it stands for (MODES
below holds every fact that differs between them). VARNEK_WINE_MODE picks
one; without it, wow64 where this machine executes 32-bit x86 code, else
win64 (some kernels run 64-bit user code only).
"""
import dataclasses
import fcntl
import functools
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

import resource_ids

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("VARNEK_BUILD_DIR", os.path.join(REPO, "build"))
WINE_DIR = "/usr/lib/wine"

INSTALLER_CAPTION = "Varnek打印机驱动安装程序"
INSTALLER_MSG_CAPTION = "安裝Varnek打印机驱动"
# Cancel on every page but the last, where it becomes Finish ("完成").
FINISH = resource_ids.WIZARD.IDC_CANCEL_FINISH


@functools.lru_cache(maxsize=None)
def can_run_32bit():
    """Whether this machine executes 32-bit x86 code (Wine's 32-bit loader starts)."""
    try:
        subprocess.run([os.path.join(WINE_DIR, "wine"), "--version"], capture_output=True, timeout=30)
        return True
    except OSError:
        return False  # ENOEXEC: the kernel runs no 32-bit user code


@dataclasses.dataclass(frozen=True)
class Mode:
    """A Windows the suite stands in for, and what differs there."""
    name: str
    arch: str  # the prefix (WINEARCH)
    programs: str  # the build flavour of the programs and test helpers
    installer: str  # the stand-in installer, relative to the build tree
    standins: str  # the flavour whose stand-ins it carries (and whose probe loads them)
    needs_32bit: bool
    program_files: str  # %ProgramFiles% as the programs see it
    program_files_folders: tuple  # every program-files folder that Windows has
    environment: str  # the spooler environment the driver is registered for
    driver_dir_name: str  # and the name of its driver directory
    system_dir: str  # where the monitor library lands: the native System32
    programs_system_dir: str  # the folder behind System32 for the programs' own file access
    # 64-bit Windows' places for 32-bit programs, where nothing of ours may
    # land: the system folder a 32-bit process sees as System32 and the
    # 32-bit registry view (None on 32-bit Windows).
    wow64_system_dir: str
    wow64_registry_view: str
    # Wine can register the x64 monitor from the installer's process
    # (docs/wine-harness.md, "Wine modes").
    monitor_registers: bool

    @property
    def common_files(self):
        """Every Common Files folder that Windows has."""
        return tuple(folder + "\\Common Files" for folder in self.program_files_folders)

    def runnable(self):
        """None when this machine can run the mode, else why not."""
        if self.needs_32bit and not can_run_32bit():
            return "this machine runs no 32-bit code"
        return None


_SYSTEM32 = "C:\\windows\\system32"
MODES = {
    # The configuration we ship: the i686 programs on 64-bit Windows.
    "wow64": Mode("wow64", arch="win64", programs="win32", installer="win32/installer-wow64/VarnekPrinterSetup.exe",
                  standins="win64", needs_32bit=True,
                  program_files="C:\\Program Files (x86)",
                  program_files_folders=("C:\\Program Files", "C:\\Program Files (x86)"),
                  environment="Windows x64", driver_dir_name="x64", system_dir=_SYSTEM32,
                  programs_system_dir="C:\\windows\\syswow64",
                  wow64_system_dir="C:\\windows\\syswow64", wow64_registry_view="WOW6432Node",
                  monitor_registers=False),
    # 32-bit Windows: no "(x86)" folders, no second registry view.
    "win32": Mode("win32", arch="win32", programs="win32", installer="win32/installer/VarnekPrinterSetup.exe",
                  standins="win32", needs_32bit=True,
                  program_files="C:\\Program Files", program_files_folders=("C:\\Program Files",),
                  environment="Windows NT x86", driver_dir_name="w32x86", system_dir=_SYSTEM32,
                  programs_system_dir=_SYSTEM32, wow64_system_dir=None, wow64_registry_view=None,
                  monitor_registers=True),
    # 64-bit Windows with 64-bit programs: an installer no user gets, the
    # only mode where no 32-bit code runs.
    "win64": Mode("win64", arch="win64", programs="win64", installer="win64/installer/VarnekPrinterSetup.exe",
                  standins="win64", needs_32bit=False,
                  program_files="C:\\Program Files",
                  program_files_folders=("C:\\Program Files", "C:\\Program Files (x86)"),
                  environment="Windows x64", driver_dir_name="x64", system_dir=_SYSTEM32,
                  programs_system_dir=_SYSTEM32,
                  wow64_system_dir="C:\\windows\\syswow64", wow64_registry_view="WOW6432Node",
                  monitor_registers=True),
}


def default_mode():
    """The mode run when none is named: the shipped configuration where it can run."""
    return "wow64" if can_run_32bit() else "win64"


def wine_mode():
    name = os.environ.get("VARNEK_WINE_MODE") or default_mode()
    if name not in MODES:
        raise SystemExit("VARNEK_WINE_MODE=%s: not one of %s" % (name, ", ".join(MODES)))
    return MODES[name]


FACTS = wine_mode()
MODE = FACTS.name
ARCH = FACTS.arch
LOADER = os.path.join(WINE_DIR, "wine" if ARCH == "win32" else "wine64")
WINESERVER = os.path.join(WINE_DIR, "wineserver32" if ARCH == "win32" else "wineserver64")
# The build of the programs that runs in this prefix.
FLAVOUR = os.path.join(BUILD, FACTS.programs)
INSTALLER = os.path.join(BUILD, FACTS.installer)
# The stand-ins the installer carries, and the build they come from.
STANDIN_FLAVOUR = os.path.join(BUILD, FACTS.standins)
STANDINS = os.path.join(STANDIN_FLAVOUR, "payload", "vendor")


def program(relative):
    """A program of the build flavour that runs in the prefix, e.g.
    'uninstaller/Uninstaller.exe'; 'installer/VarnekPrinterSetup.exe' is the
    mode's stand-in installer and 'payload/vendor/...' the stand-ins it
    carries."""
    relative = relative.replace("\\", "/")
    if relative == "installer/VarnekPrinterSetup.exe":
        return INSTALLER
    if relative == "payload/vendor" or relative.startswith("payload/vendor/"):
        return os.path.join(STANDIN_FLAVOUR, relative)
    return os.path.join(FLAVOUR, relative)


# Wine's one limit of the wow64 mode, stated once (docs/wine-harness.md,
# "Wine modes"): its spooler runs inside the calling process, so the 32-bit
# installer cannot load the x64 monitor (AddMonitor fails with 126), and
# without the monitor there is no port, no queue, and the port step's "ERROR"
# box. Real Windows loads monitors in its 64-bit spooler service. The tests
# that need the registered monitor run in the other modes.
WINE_MONITOR_LIMIT = "Wine cannot load the x64 monitor into the 32-bit installer"
needs_monitor = unittest.skipUnless(FACTS.monitor_registers, WINE_MONITOR_LIMIT)
# The silent installer's exit code for a whole installation with the
# stand-in payload: under that limit the code of its first failed step, the
# monitor's registration (16); port and queue fail after it.
INSTALLED_CODE = 0 if FACTS.monitor_registers else 16
# What the wizard's closing message calls that step.
MONITOR_STEP = "端口监视器的注册"
# ERROR_MOD_NOT_FOUND: what AddMonitor gives under that limit.
MONITOR_LIMIT_ERROR = 126


def check_installation_boxes(boxes):
    """Raises unless boxes are what an installation with the stand-in payload
    shows in this mode: none, or under Wine's monitor limit the port step's
    unowned "ERROR" box and then the wizard's closing message, which names
    the monitor's registration among the failed steps."""
    if FACTS.monitor_registers:
        if boxes:
            raise AssertionError("message boxes came during the installation: %r" % boxes)
        return
    expected = [("ERROR", 0, [1]), (INSTALLER_MSG_CAPTION, 1, [1])]
    if [(b["caption"], b["has_owner"], b["buttons"]) for b in boxes] != expected or \
            MONITOR_STEP not in boxes[1]["text"]:
        raise AssertionError("not the boxes of Wine's monitor limit: %r" % boxes)


# The Unix locale decides a session's ANSI code page ("language for
# non-Unicode programs"); the programs' own is 936. A locale that is not
# generated silently gives 1252, so every session checks what it got.
LOCALES = {936: "zh_CN.UTF-8", 1252: "en_US.UTF-8", 950: "zh_TW.UTF-8", 932: "ja_JP.UTF-8", 949: "ko_KR.UTF-8"}


def base_env(prefix, display=None, code_page=936):
    env = dict(os.environ)
    env.update({
        "WINEPREFIX": prefix,
        "WINEARCH": ARCH,
        "WINELOADER": LOADER,
        "WINESERVER": WINESERVER,
        "WINEDEBUG": "-all",
        "LC_ALL": LOCALES[code_page],
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
    """The prefix every test group copies; made once per build tree and mode."""
    path = os.path.join(BUILD, "wine", "template-" + MODE)
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

    def __init__(self, name, display=None, code_page=936):
        """display: an X display to use instead of a private Xvfb; code_page:
        the ANSI code page of the session."""
        runs = os.path.join(BUILD, "wine", "runs")
        os.makedirs(runs, exist_ok=True)
        self.dir = tempfile.mkdtemp(prefix=name + "-", dir=runs)
        self.prefix = os.path.join(self.dir, "pfx")
        subprocess.run(["cp", "-a", template_prefix(), self.prefix], check=True)
        self._xvfb, self.display = (None, display) if display else self._start_xvfb()
        self.code_page = code_page
        self.env = base_env(self.prefix, self.display, code_page)
        # One wineserver for the whole group: a new session would start
        # auto-start services again and cost time.
        subprocess.run([WINESERVER, "-p"], env=self.env, check=True)
        self._processes = []
        self._driver = None
        self._closed = False
        # The first program of a session starts Wine's own services; let that
        # happen now rather than inside a test's time limits.
        self.run("reg", "query", "HKCU\\Software\\Wine", timeout=120)
        self._check_code_page()

    def _check_code_page(self):
        result = self.run(program("tests/wine/sysprobe.exe"), "codepages")
        acp = json.loads(result.stdout.decode("utf-8"))["acp"]
        if acp != self.code_page:
            self.close()
            raise RuntimeError("the session got code page %d, not %d: is the locale %s generated "
                               "(scripts/install-deps.sh)?" % (acp, self.code_page, LOCALES[self.code_page]))

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

    def wait_folder_page(self, timeout=10):
        """Waits until the folder page shows its folder box."""
        if not wait_until(lambda: self.state()["folder_box"]["visible"], timeout=timeout):
            raise AssertionError("the folder page of %r never came" % self.caption)

    def on_finished_page(self):
        """Whether Finish is shown, enabled and reads "完成"."""
        button = self.state()["controls"][str(FINISH)]
        return button["visible"] and button["enabled"] and button["text"] == "完成"

    def wait_finished_page(self, timeout=60):
        """Waits for the finished page of a run that shows no message box on
        the way; returns the dialog's state read after it (enabling Finish is
        the page change's last step, and the driver reads the controls one by
        one)."""
        if not wait_until(self.on_finished_page, timeout=timeout, interval=0.2):
            raise AssertionError("the finished page of %r never came" % self.caption)
        return self.state()

    def wait_installed(self, process, failing=False, timeout=120):
        """Waits for the end of an installation, answering every message box
        on the way with OK; returns those boxes. It ends on the finished page
        or, when steps fail (failing, and always under Wine's monitor limit),
        after the closing message with only Cancel ("取消") left."""
        failing = failing or not FACTS.monitor_registers
        boxes = []

        def ended():
            if not failing:
                return self.on_finished_page()
            button = self.state()["controls"][str(FINISH)]
            closed = boxes and boxes[-1]["caption"] == INSTALLER_MSG_CAPTION
            return closed and button["enabled"] and button["text"] == "取消"

        deadline = time.time() + timeout
        while not wait_until(ended, timeout=0.3):
            box = self.message_box(200, press=1)
            if box:
                boxes.append(box)
            if process.poll() is not None:
                raise AssertionError("the installer ended with %d before the end of its installation"
                                     % process.returncode)
            if time.time() > deadline:
                raise AssertionError("the installation did not end")
        return boxes

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
    code_page = 936

    @classmethod
    def setUpClass(cls):
        cls.session = Session(cls.__name__.lower(), code_page=cls.code_page)
        # A class cleanup runs even when a subclass's setUpClass fails after
        # this, which tearDownClass would not: no wineserver or Xvfb is left.
        cls.addClassCleanup(cls.session.close)
