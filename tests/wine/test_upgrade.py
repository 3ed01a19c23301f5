"""Upgrades in place: an installer whose service program, notice program,
driver modules and monitor library differ, run with "/S" over a running
installation. Every installed file is the new one, or waits beside the old
one for the restart with exit code 3010; after the restart every file is the
new one and the service runs the new program; the user's settings stay.

The second package is made here from the first one's members with the
packer, each changed member carrying a marker after its image (a PE runs
with bytes after its image)."""
import os
import shutil
import subprocess
import time
import unittest

import harness
import sysstate
from bmp import Bitmap
from package_copies import Package
from resource_ids import INSTALLER as IDS
from test_page_rendering import PAGE, ink_rows
from test_silent_modes import run_windowless, windows_path

INSTALLER = harness.program("installer/VarnekPrinterSetup.exe")
PACKER = os.path.join(harness.BUILD, "tools", "varnek_packer")
FOLDER = sysstate.DEFAULT_FOLDER
MARKER = b"\0upgrade 1.3.0.31"
# The members the second package changes.
CHANGED = ["Brevlet.exe", "VKPrinterService.exe", "VarnekRt81.dll", "VarnekUI.dll", "VarnekUni.dll", "UNIDRV.dll",
           "UNIDRVUI.dll"]
DRIVER_MODULES = ["VarnekUI.dll", "VarnekUni.dll", "UNIDRV.dll", "UNIDRVUI.dll"]
INSTALLED, RESTART_NEEDED = 0, 3010
DRIVER_FILES_FAILED, SERVICE_FAILED = 13, 19
USER_SETTING = b"Density=9"
NEXT, FINISH = IDS.IDC_NEXT, IDS.IDC_CANCEL_FINISH


def packed_installer(session, name, changes):
    """An installer of this flavour packed by the packer from the stand-in
    installer's image and members, the members named in changes (name ->
    bytes) replaced."""
    package = Package.read(INSTALLER)
    work = os.path.join(session.dir, name + "-members")
    os.makedirs(work)
    image = os.path.join(work, "image.exe")
    with open(image, "wb") as f:
        f.write(package.image)
    members = []
    for index, member in enumerate(package.names()):
        path = os.path.join(work, member)
        with open(path, "wb") as f:
            f.write(changes.get(member, package.content(index)))
        members.append(path)
    output = os.path.join(session.dir, name + ".exe")
    subprocess.run([PACKER, image, output] + members, check=True, capture_output=True)
    return output


def install(session, installer, arguments):
    """The silent installer's exit code (test_silent_modes checks that it makes no window)."""
    return run_windowless(session, installer, arguments)[0]


def upgraded(package, name):
    return package.content(package.names().index(name)) + MARKER


def read(path):
    with open(path, "rb") as f:
        return f.read()


def pending_renames(session):
    """PendingFileRenameOperations as (source, target, replaces) of Windows
    paths; replaces: the target is overwritten (MOVEFILE_REPLACE_EXISTING)."""
    value = session.reg_query("HKLM\\System\\CurrentControlSet\\Control\\Session Manager",
                              "PendingFileRenameOperations")
    if not value:
        return []
    # Wine's reg prints a multi-string with "\0" between its strings; a
    # target that replaces an existing file starts with "!".
    names = value[1].split("\\0")
    renames = []
    for source, target in zip(names[0::2], names[1::2]):
        replaces = target.startswith("!")
        strip = lambda name: name[4:] if name.startswith("\\??\\") else name
        renames.append((strip(source), strip(target.lstrip("!")), replaces))
    return renames


def service_images(unix_path):
    """For each Unix process that has the file at unix_path mapped: whether the
    mapping is of the file now at that path (not a replaced one)."""
    # /proc shows the resolved path.
    unix_path = os.path.realpath(unix_path)
    current = os.stat(unix_path).st_ino
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open("/proc/%s/maps" % pid) as f:
                maps = f.read().splitlines()
        except OSError:
            continue
        inodes = {int(line.split()[4]) for line in maps if line.endswith(unix_path) or
                  line.endswith(unix_path + " (deleted)")}
        if inodes:
            found.append(inodes == {current})
    return found


@harness.needs_monitor
class Upgrade(sysstate.ServiceCase):
    """A first installation with the service running, the user's settings,
    and the monitor library held as the spooler holds it; then the upgrade."""

    maxDiff = None

    def test_upgrade_replaces_every_file_now_or_at_the_restart(self):
        session = self.session
        self.assertEqual(INSTALLED, install(session, INSTALLER, "/S"))
        self.assertTrue(sysstate.wait_service_state(session, sysstate.RUNNING))
        settings = os.path.join(session.unix_path(sysstate.DATA_FOLDER), "VarnekSetting.ini")
        user_settings = read(settings).replace(b"Density=3", USER_SETTING)
        self.assertNotEqual(read(settings), user_settings)
        with open(settings, "wb") as f:
            f.write(user_settings)

        spooler = sysstate.spooler(session)
        library = os.path.join(session.unix_path(spooler["system_directory"]), sysstate.MONITOR_LIBRARY)
        old_library = read(library)
        held = os.path.join(session.dir, "held")
        session.start(harness.program("tests/wine/sysprobe.exe"), "hold",
                      spooler["system_directory"] + "\\" + sysstate.MONITOR_LIBRARY, windows_path(session, held),
                      "600")
        self.assertTrue(harness.wait_until(lambda: os.path.exists(held), timeout=30))

        package = Package.read(INSTALLER)
        new = {name: upgraded(package, name) for name in CHANGED}
        installer = packed_installer(session, "UpgradeSetup", new)
        log = os.path.join(session.dir, "upgrade.log")
        self.assertEqual(RESTART_NEEDED, install(session, installer, "/S /LOG=%s" % windows_path(session, log)))

        folder = session.unix_path(FOLDER)
        # The service was stopped, so its program was replaced at once.
        for name in ("VKPrinterService.exe", "Brevlet.exe"):
            self.assertEqual(new[name], read(os.path.join(folder, name)), name)
        # The spooler's own copies of the driver modules are the new ones.
        driver_dir = session.unix_path(spooler["driver_directory"])
        for name in DRIVER_MODULES:
            self.assertEqual(new[name], read(os.path.join(driver_dir, "3", name)), name)
        # The held library stays until the restart; the new one waits beside it.
        self.assertEqual(old_library, read(library))
        self.assertEqual(new[sysstate.MONITOR_LIBRARY], read(library + ".new"))
        target = spooler["system_directory"] + "\\" + sysstate.MONITOR_LIBRARY
        self.assertIn((target + ".new", target, True), pending_renames(session))
        self.assertFalse(os.path.exists(os.path.join(folder, sysstate.MONITOR_LIBRARY)))
        self.assertIn(USER_SETTING, read(settings))
        self.assertTrue(sysstate.wait_service_state(session, sysstate.RUNNING))
        program = os.path.join(folder, "VKPrinterService.exe")
        self.assertEqual([True], harness.wait_until(lambda: service_images(program), timeout=20))

        lines = sysstate.log_lines(session, unix_path=log)
        self.assertEqual(["stop service", sysstate.SERVICE, "stopped", 0], lines[2][1:])
        self.assertEqual([], [line for line in lines if "failed" in line[3]])
        self.assertEqual([["monitor library", target, "in use, replaced at restart", 32]],
                         [line[1:] for line in lines if "restart" in line[3] and line[1] != "extract package"])
        self.assertIn(["extract", sysstate.DATA_FOLDER + "\\VarnekSetting.ini", "kept", 0], [l[1:] for l in lines])
        self.assertIn(["service", sysstate.SERVICE, "updated, started", 0], [l[1:] for l in lines])
        self.assertEqual(["end", FOLDER, "silent", RESTART_NEEDED], lines[-1][1:])

        # The restart: a new session, in which Windows applies the pending
        # renames before it starts the services.
        session.stop_started()
        subprocess.run([harness.WINESERVER, "-k"], env=session.env, timeout=60)
        subprocess.run([harness.WINESERVER, "-w"], env=session.env, timeout=60)
        subprocess.run([harness.WINESERVER, "-p"], env=session.env, check=True)
        session.run("wineboot", "-r", timeout=120)
        self.assertEqual(new[sysstate.MONITOR_LIBRARY], read(library))
        self.assertFalse(os.path.exists(library + ".new"))
        self.assertTrue(sysstate.wait_service_state(session, sysstate.RUNNING))
        self.assertEqual([True], harness.wait_until(lambda: service_images(program), timeout=20))
        self.assertIn(USER_SETTING, read(settings))


@harness.needs_monitor
class WizardUpgrade(sysstate.ServiceCase):
    """The wizard over an installation whose notice program is running."""

    def test_finished_page_asks_for_the_restart(self):
        session = self.session
        # With the display: a session whose desktop was started without one
        # shows no wizard at all (docs/wine-harness.md).
        session.run(INSTALLER, "/S", timeout=120)
        held = os.path.join(session.dir, "held")
        notice = FOLDER + "\\Brevlet.exe"
        session.start(harness.program("tests/wine/sysprobe.exe"), "hold", notice, windows_path(session, held), "600")
        self.assertTrue(harness.wait_until(lambda: os.path.exists(held), timeout=30))

        process = session.start(INSTALLER)
        wizard = harness.Wizard(session, harness.INSTALLER_CAPTION)
        self.assertTrue(wizard.wait())
        wizard.click(NEXT)
        wizard.wait_folder_page()
        wizard.click(NEXT)
        wizard.wait_finished_page()
        self.assertTrue(wizard.no_message_box())
        # The status line at y 160, between the success text and the closing
        # text, which a run without a restart leaves empty (test_page_rendering).
        shot = os.path.join(session.dir, "restart.bmp")
        self.assertTrue(harness.wait_until(
            lambda: wizard.capture(shot, "page") or ink_rows(Bitmap(shot), 28, 400, 150, 185, PAGE), timeout=10))
        rows = ink_rows(Bitmap(shot), 28, 400, 150, 185, PAGE)
        self.assertIn(rows[0], range(160, 166))
        wizard.click(FINISH)
        self.assertEqual(0, process.wait(30))

        self.assertIn((notice + ".new", notice, True), pending_renames(session))
        lines = [line[1:] for line in sysstate.log_lines(session)]
        self.assertIn(["extract", notice, "in use, replaced at restart", 32], lines)
        self.assertEqual(["end", FOLDER, "wizard", RESTART_NEEDED], lines[-1])


@harness.needs_monitor
class FailedSteps(sysstate.ServiceCase):
    """A step made to fail gives its code and its log line, and the steps
    after it still run."""

    maxDiff = None

    def test_a_driver_file_that_cannot_be_copied_keeps_its_source(self):
        # A folder where a driver file goes: the copy fails (access denied).
        driver_dir = self.session.unix_path(sysstate.spooler(self.session)["driver_directory"])
        blocker = os.path.join(driver_dir, "VarnekUI.dll")
        os.makedirs(blocker)
        try:
            folder = "C:\\Blocked Driver"
            log = os.path.join(self.session.dir, "blocked.log")
            self.assertEqual(DRIVER_FILES_FAILED,
                             install(self.session, INSTALLER,
                                     "/LOG=%s /S /D=%s" % (windows_path(self.session, log), folder)))
            lines = [line[1:] for line in sysstate.log_lines(self.session, unix_path=log)]
            # The driver is not added with an old copy of the file.
            target = sysstate.spooler(self.session)["driver_directory"] + "\\VarnekUI.dll"
            # Without the driver no queue can be made on a first installation.
            self.assertEqual([["driver file", target, "failed", 5],
                              ["printer driver", sysstate.DRIVER, "skipped, driver files not in place", 0],
                              ["queue", sysstate.QUEUE, "failed"],
                              ["end", folder, "silent", DRIVER_FILES_FAILED]],
                             [line[:3] if line[0] == "queue" else line for line in lines
                              if (line[3] != 0 or "skipped" in line[2]) and line[0] != "stop service"])
            # Kept where it was, for the next attempt; the other files moved on.
            unix = self.session.unix_path(folder)
            self.assertTrue(os.path.isfile(os.path.join(unix, "VarnekUI.dll")))
            self.assertFalse(os.path.exists(os.path.join(unix, "VarnekUni.dll")))
            # The steps after it ran.
            self.assertIn(["service", sysstate.SERVICE, "created, started", 0], lines)
        finally:
            os.rmdir(blocker)
            sysstate.remove_service(self.session)

    def test_a_service_marked_for_deletion_fails_its_step(self):
        session = self.session
        self.assertEqual(INSTALLED, install(session, INSTALLER, "/S /D=C:\\Marked"))
        self.assertTrue(sysstate.wait_service_state(session, sysstate.RUNNING))
        # Another program holds the service open, as the Services console
        # does: deleted, it stays until that handle closes.
        held = os.path.join(session.dir, "service-held")
        session.start(harness.program("tests/wine/sysprobe.exe"), "service-hold", sysstate.SERVICE,
                      windows_path(session, held), "600")
        self.assertTrue(harness.wait_until(lambda: os.path.exists(held), timeout=30))
        session.run("sc", "delete", sysstate.SERVICE)
        log = os.path.join(session.dir, "marked.log")
        code = install(session, INSTALLER, "/LOG=%s /S /D=C:\\Marked" % windows_path(session, log))
        lines = [line[1:] for line in sysstate.log_lines(session, unix_path=log)]
        self.assertEqual(SERVICE_FAILED, code, "\n".join(map(str, lines)))
        self.assertEqual([["service", sysstate.SERVICE, "failed to create", 1072]],
                         [line for line in lines if line[0] == "service"])
        session.stop_started()


if __name__ == "__main__":
    unittest.main()
