"""The whole lifecycle through the real programs and their wizards, with the
printer attached: install with the default folder, uninstall through the
Start-menu shortcut and restart, install again over nothing and over that
installation, uninstall without restart and restart later. After each
removal the prefix holds exactly what the product leaves by design.

Wine restarts nothing: ExitWindowsEx ends the session and wineboot runs the
RunOnce value, as does "wineboot -r" later; that clean-up pass is the
observable effect of a restart here. Wine's form calls store nothing, so the
forms are checked natively (printer_removal_test.cpp).

The steps build on each other and run in name order; a step whose
predecessor failed is skipped. Under Wine's monitor limit (harness.py) the
installed state lacks exactly monitor, port and queue; the removal leaves the
same residue.
"""
import getpass
import os
import time
import unittest

import harness
import sysstate
from harness import WineTestCase
from resource_ids import UNINSTALLER, WIZARD
from test_system_steps import lnk_fields

INSTALLER = harness.program("installer/VarnekPrinterSetup.exe")
UNINSTALLER_CAPTION = "Varnek标牌打印机驱动卸载程序"
NEXT, FINISH, RESTART = WIZARD.IDC_NEXT, WIZARD.IDC_CANCEL_FINISH, UNINSTALLER.IDC_RESTART
FOLDER = sysstate.DEFAULT_FOLDER
SHORTCUT = ("Varnek打印机", "卸载 Varnek打印机驱动.lnk")

INSTALLED = {
    "queues": [{"name": sysstate.QUEUE, "port": sysstate.PORT}],
    "driver": {"environment": sysstate.ENVIRONMENT, "data_file": "VarnekPrinter.gpd"},
    "monitor": {"library": sysstate.MONITOR_LIBRARY},
    "monitor key": sysstate.MONITOR_LIBRARY,
    "port": {"monitor": sysstate.MONITOR},
    "service": {"state": "running", "program": '"%s\\VKPrinterService.exe"' % FOLDER},
    "product key": {"Data Directory": sysstate.DATA_FOLDER, "Program Directory": FOLDER, "Owned Folder": FOLDER},
    "RunOnce value": None,
    "installation folder": ["Brevlet.exe", "Nelvusb.cat", "Nelvusb.inf", "Nelvusb.sys", "Uninstaller.exe",
                            "VKPrinterService.exe", "VarnekUsb64.exe"],
    "data folder": ["VarnekSetting.ini"],
    "driver files": sorted(n.lower() for n in sysstate.DRIVER_FILES if n != "VarnekPrinter.BUD"),
    "driver files in 3": sorted(n.lower() for n in sysstate.DRIVER_FILES if n != "VarnekPrinter.BUD"),
    "monitor library": harness.FACTS.system_dir + "\\" + sysstate.MONITOR_LIBRARY,
    "Start-menu entries": ["\\".join(SHORTCUT)],
    "Programs and Features": ["VarnekPrinter|||Varnek标牌打印机驱动"],
    "temporary copies": [],
    "INF in the driver store": ["Nelvusb.inf"],
    "in the 32-bit views": [],
}
if not harness.FACTS.monitor_registers:
    INSTALLED.update({"queues": [], "monitor": None, "monitor key": None, "port": None})

# What a removal leaves: the product key (without the ownership record of
# the folder that is gone) and the USB driver package in the driver store by
# design, the Unidrv files of the version-3 folder for the other drivers that
# use them.
REMOVED = {item: None for item in INSTALLED}
REMOVED.update({
    "queues": [],
    "product key": {"Data Directory": sysstate.DATA_FOLDER, "Program Directory": FOLDER},
    "driver files": [],
    "driver files in 3": sorted(n.lower() for n in sysstate.DRIVER_FILES if n not in sysstate.OWN_DRIVER_FILES),
    "Start-menu entries": [],
    "Programs and Features": [],
    "temporary copies": [],
    "INF in the driver store": ["Nelvusb.inf"],
    "in the 32-bit views": [],
})

DRIVERS = "windows/system32/spool/drivers/" + sysstate.DRIVER_DIR_NAME
CONTROL = "HKLM\\System\\CurrentControlSet\\Control"
# The residue of a whole lifecycle, measured against the prefix before the
# installation. Each entry names a file or key the product leaves, and
# covers what lies below it.
RESIDUE = {
    "the product key": ["+HKLM\\Software\\VarnekPrinter"],
    "the USB driver package in the driver store": [
        "+windows/inf/Nelvusb.inf", "+windows/inf/Nelvusb.pnf",
        "+windows/system32/catroot/{f750e6c3-38ee-11d1-85e5-00c04fc295ee}"],
    "the USB driver the attached printer got": [
        "+windows/system32/drivers/Nelvusb.sys",
        "+HKLM\\System\\CurrentControlSet\\Services\\Nelvusb",
        "+" + CONTROL + "\\Class\\{36FC9E60-C465-11CF-8056-444553540000}",
        "+HKLM\\System\\CurrentControlSet\\Enum\\ROOT\\VARNEKTESTDEVICE"],
    "the Unidrv files of the version-3 folder": [
        "+%s/3/%s" % (DRIVERS, name) for name in sysstate.DRIVER_FILES if name not in sysstate.OWN_DRIVER_FILES],
    # The uninstaller marks its temporary copy for deletion at the next
    # restart, in case the interpreter that deletes it fails.
    "the temporary copy's deletion at the next restart": [
        "+" + CONTROL + "\\Session Manager\\[PendingFileRenameOperations]"],
    # Support reads them after the programs have gone.
    "the installation and removal logs": ["+users/%s/Temp/%s" % (getpass.getuser(), name)
                                          for name in ("VarnekPrinterSetup.log", "Uninstaller.log")],
}
# What Wine itself adds on the way, and would be there on Windows already:
# keys without values, matched exactly (a value of ours left in one of them
# still counts), and Wine's own settings.
WINE_KEYS = [
    # The user's printer lists, which the spooler creates with the first queue.
    "+HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Devices",
    "+HKCU\\Software\\Microsoft\\Windows NT\\CurrentVersion\\PrinterPorts",
    # The driver folders of the environment, created with the first driver.
    "+%s\\Print\\Environments\\%s\\Drivers" % (CONTROL, sysstate.ENVIRONMENT),
    "+%s\\Print\\Environments\\%s\\Drivers\\Version-3" % (CONTROL, sysstate.ENVIRONMENT),
    # wineboot creates the Run key of the 32-bit view when it runs RunOnce.
    "+HKLM\\Software\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run",
]
WINE_SETTINGS = "+HKCU\\Software\\Wine"
# Wine's display configuration, written under a new GUID by a new session
# and by Wine's own uninstaller, through which the tests read Programs and
# Features; not a key of ours.
WINE_VIDEO = "+HKLM\\System\\CurrentControlSet\\Control\\Video"


def covers(entry, prefix):
    """True when entry is prefix or lies below it (file, key or value of a key)."""
    entry, prefix = entry.lower(), prefix.lower()
    return entry == prefix or entry.startswith(prefix + "/") or entry.startswith(prefix + "\\")


def normalised(state):
    """product_state with the file lists in lower case: the file system keeps
    the case each writer chose, and matches without regard to it."""
    state = dict(state)
    for item in ("driver files", "driver files in 3"):
        state[item] = sorted(name.lower() for name in state[item])
    return state


def wait_for_clean_up(test, temporary_before):
    """The clean-up pass, the finisher and the temporary copy's deletion."""
    folder = test.session.unix_path(FOLDER)
    test.assertTrue(harness.wait_until(lambda: not os.path.exists(folder), timeout=30),
                    "the clean-up pass and the finisher did not remove the installation folder")
    test.assertTrue(harness.wait_until(
        lambda: sysstate.temporary_copies(test.session) == temporary_before, timeout=30),
        "the temporary copy was not deleted")


def check_removed(test, baseline):
    """The prefix holds what a removal leaves by design, and of what it gained
    since baseline only what RESIDUE and Wine explain; returns that residue."""
    state = normalised(sysstate.product_state(test.session))
    test.assertEqual(REMOVED, state, "\n" + sysstate.describe(state))
    residue = sysstate.residue(baseline, sysstate.snapshot(test.session))
    kept = [p for entries in RESIDUE.values() for p in entries]
    unexplained = sorted(e for e in residue if e not in WINE_KEYS and not covers(e, WINE_SETTINGS) and
                         not covers(e, WINE_VIDEO) and not any(covers(e, p) for p in kept))
    test.assertEqual([], unexplained)
    for what, entries in RESIDUE.items():
        for entry in entries:
            test.assertTrue(any(covers(e, entry) for e in residue), "%s: %s is gone" % (what, entry))
    return residue


class LifecycleGroup(WineTestCase):
    """Steps that build on each other, with the printer attached; each
    subclass records its finished steps in its own set `done`."""

    maxDiff = None

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        sysstate.attach_device(cls.session)
        cls.baseline = sysstate.snapshot(cls.session)
        cls.temporary_before = sysstate.temporary_copies(cls.session)

    def after(self, step):
        if step not in self.done:
            self.skipTest("an earlier step failed")


class Lifecycle(LifecycleGroup):

    done = set()
    first_residue = None

    def state(self):
        return normalised(sysstate.product_state(self.session))

    def install(self):
        """The installer through its pages with the folder it proposes; no
        message box may appear but the one of Wine's monitor limit."""
        process = self.session.start(INSTALLER)
        wizard = harness.Wizard(self.session, harness.INSTALLER_CAPTION)
        self.assertTrue(wizard.wait(), "the installer did not appear")
        wizard.click(NEXT)
        wizard.wait_folder_page()
        self.assertEqual(FOLDER, wizard.state()["folder"]["text"])
        wizard.click(NEXT)
        harness.check_installation_boxes(wizard.wait_installed(process))
        wizard.click(FINISH)
        self.assertTrue(wizard.gone())
        self.assertEqual(0, process.wait(30))
        self.assertTrue(sysstate.wait_service_state(self.session, sysstate.RUNNING))

    def uninstall(self, restart):
        """The program the Start-menu shortcut names, through its wizard, in
        the shortcut's working directory; Finish with the restart box as given."""
        link = os.path.join(sysstate.start_menu_folder(self.session), *SHORTCUT)
        fields = lnk_fields(link)
        self.assertEqual(FOLDER + "\\Uninstaller.exe", fields["Local path"])
        process = self.session.start(fields["Local path"], cwd=fields["Working directory"])
        wizard = harness.Wizard(self.session, UNINSTALLER_CAPTION)
        self.assertTrue(wizard.wait(), "the uninstaller did not appear")
        wizard.click(NEXT)
        wizard.wait_finished_page()
        self.assertTrue(wizard.no_message_box(200))
        self.assertEqual(1, wizard.state()["controls"][str(RESTART)]["checked"])

        # The wizard's part is done; the spooler may still hold the monitor
        # library, and the running uninstaller its own file.
        state = self.state()
        for item in ("queues", "driver", "monitor", "monitor key", "port", "data folder", "Start-menu entries",
                     "Programs and Features"):
            self.assertEqual(REMOVED[item], state[item], item)
        self.assertEqual(["Uninstaller.exe"], state["installation folder"])
        self.assertEqual('"{0}\\Uninstaller.exe" "{0}"'.format(FOLDER), state["RunOnce value"])
        self.assertEqual(INSTALLED["monitor library"], state["monitor library"])
        self.assertNotIn("varnekprinter.gpd", state["driver files in 3"])

        if not restart:
            wizard.click(RESTART)
            self.assertEqual(0, wizard.state()["controls"][str(RESTART)]["checked"])
        wizard.click(FINISH)
        self.assertTrue(wizard.gone())
        process.wait(30)
        # Its handles closed with it: the service's deletion is complete.
        self.assertTrue(sysstate.wait_service_gone(self.session))

    def wait_for_clean_up(self):
        wait_for_clean_up(self, self.temporary_before)

    def check_removed(self):
        return check_removed(self, self.baseline)

    def test_1_install_with_the_default_folder(self):
        self.install()
        state = self.state()
        self.assertEqual(INSTALLED, state, "\n" + sysstate.describe(state))
        self.done.add(1)

    def test_2_uninstall_from_the_start_menu_and_restart(self):
        self.after(1)
        self.uninstall(restart=True)
        self.wait_for_clean_up()
        self.assertIsNone(self.session.reg_query(sysstate.RUN_ONCE_KEY, sysstate.RUN_ONCE_VALUE))
        type(self).first_residue = self.check_removed()
        self.done.add(2)

    def test_3_install_again_over_nothing_and_over_itself(self):
        self.after(2)
        self.install()
        self.assertEqual(INSTALLED, self.state())
        self.install()
        self.assertEqual(INSTALLED, self.state())
        self.done.add(3)

    def test_4_uninstall_without_restart_then_restart_later(self):
        self.after(3)
        self.uninstall(restart=False)
        # No restart: nothing more happens until the next one.
        time.sleep(1)
        state = self.state()
        self.assertEqual(["Uninstaller.exe"], state["installation folder"])
        self.assertIsNotNone(state["RunOnce value"])
        self.assertEqual(INSTALLED["monitor library"], state["monitor library"])

        self.session.run("wineboot", "-r", timeout=120)
        self.wait_for_clean_up()
        self.assertIsNone(self.session.reg_query(sysstate.RUN_ONCE_KEY, sysstate.RUN_ONCE_VALUE))
        self.assertEqual(self.first_residue, self.check_removed())


if __name__ == "__main__":
    unittest.main()
