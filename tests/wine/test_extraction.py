"""Extraction of the payload through the real wizard: what arrives where,
and what a damaged or crafted package does (message, only Cancel left,
nothing written)."""
import os
import unittest

import harness
from harness import INSTALLER_CAPTION, INSTALLER_MSG_CAPTION, Wizard, WineTestCase, wait_until
from package_copies import Package, with_entry_contents, with_entry_count, with_entry_name, with_flipped_data_byte
from resource_ids import INSTALLER as IDS
from test_upgrade import pending_renames

IDC_NEXT, IDC_BROWSE, IDC_BACK, IDC_PROGRESS, IDC_CANCEL_FINISH = (IDS.IDC_NEXT, IDS.IDC_BROWSE, IDS.IDC_BACK,
                                                                  IDS.IDC_PROGRESS, IDS.IDC_CANCEL_FINISH)
INSTALLER = harness.program("installer/VarnekPrinterSetup.exe")
DATA_FOLDER = "C:\\ProgramData\\VarnekPrinter"
SETTINGS = "VarnekSetting.ini"
DAMAGED_MESSAGE = "安装文件已损坏，请联系打印机厂商"
WRONG_MACHINE_MESSAGE = "此安装程序不适用于本机的Windows版本，请联系打印机厂商"

MEMBERS = ["Brevlet.exe", "VKPrinterService.exe", "STDNAMES.GPD", "VarnekPrinter.gpd", "VarnekSetting.ini",
           "VarnekRt81.dll", "VarnekUI.dll", "VarnekUI.ini", "VarnekUni.dll", "Nelvusb.cat", "Nelvusb.inf",
           "Nelvusb.sys", "UNIDRV.dll", "UNIDRV.HLP", "UNIDRVUI.dll", "Uninstaller.exe", "UNIRES.DLL",
           "VarnekUsb64.exe"]
# The modules the spooler and the USB stack load: their machine must be the
# system's. The service runs in its own process, under WOW64 when it is 32-bit.
NATIVE_MODULES = ["VarnekRt81.dll", "VarnekUI.dll", "VarnekUni.dll", "UNIDRV.dll", "UNIDRVUI.dll", "UNIRES.DLL",
                  "Nelvusb.sys"]
# Files the printer-system step moves on from the installation folder once it
# runs after the extraction: the driver files to the spooler's driver folder,
# the monitor library to the system folder.
DRIVER_FILES = ["VarnekUI.ini", "VarnekUI.dll", "VarnekUni.dll", "UNIRES.DLL", "UNIDRV.HLP", "UNIDRVUI.dll",
                "UNIDRV.dll", "STDNAMES.GPD", "VarnekPrinter.gpd"]
DRIVER_FOLDER = "C:\\windows\\system32\\spool\\drivers\\" + harness.FACTS.driver_dir_name
SYSTEM_FOLDER = harness.FACTS.system_dir


def source_of(name):
    """The file the build packed for this entry."""
    if name in ("VarnekSetting.ini", "VarnekUI.ini"):
        return os.path.join(harness.REPO, "payload", name)
    if name == "Uninstaller.exe":
        return harness.program("uninstaller/Uninstaller.exe")
    if name == "VarnekUsb64.exe":
        return os.path.join(harness.BUILD, "win64", "usb_helper", name)
    return harness.program(os.path.join("payload", "vendor", name))


def read(path):
    with open(path, "rb") as f:
        return f.read()


class InstallerRun:
    """One run of the installer through its pages up to the installing page."""

    def __init__(self, session, installer, folder):
        self.session = session
        self.process = session.start(installer)
        self.wizard = Wizard(session, INSTALLER_CAPTION)
        assert self.wizard.wait(), "the wizard did not appear"
        self.wizard.click(IDC_NEXT)
        self.wizard.set_folder(folder)
        self.wizard.click(IDC_NEXT)

    def wait_finished(self):
        """Waits for the finished page; raises unless the boxes on the way were
        those of a whole installation in this mode."""
        harness.check_installation_boxes(self.wizard.wait_installed(self.process))

    def close(self):
        self.wizard.click(IDC_CANCEL_FINISH)
        assert self.wizard.gone(), "the wizard did not close"
        self.process.wait(30)


class ExtractionTest(WineTestCase):

    def files_in(self, folder):
        path = self.session.unix_path(folder)
        return sorted(os.listdir(path)) if os.path.isdir(path) else []

    def installed_copy(self, folder, name):
        """Where the entry is after the installation: its extraction target, or
        for the files the printer-system step moves on, their destination."""
        if name == SETTINGS:
            return self.session.unix_path(DATA_FOLDER + "\\" + name)
        extracted = self.session.unix_path(folder + "\\" + name)
        if os.path.exists(extracted):
            return extracted
        if name in DRIVER_FILES:
            # Moved under the name the step's table writes ("unidrv.hlp"):
            # Windows matches names without regard to case, Linux does not.
            target = self.session.unix_path(DRIVER_FOLDER)
            return os.path.join(target, next((n for n in os.listdir(target) if n.lower() == name.lower()), name))
        if name == "VarnekRt81.dll":
            return self.session.unix_path(SYSTEM_FOLDER + "\\" + name)
        return extracted

    def test_all_entries_arrive_byte_identical_in_a_folder_with_blanks_and_chinese(self):
        folder = "C:\\Program Files\\Varnek 标签 打印机"
        self.assertEqual(Package.read(INSTALLER).names(), MEMBERS)
        run = InstallerRun(self.session, INSTALLER, folder)
        run.wait_finished()
        self.assertTrue(run.wizard.no_message_box(500))
        # More bytes are written than the package holds: the bar ends full.
        self.assertEqual(run.wizard.state()["controls"][str(IDC_PROGRESS)]["pos"], 100)
        for name in MEMBERS:
            with self.subTest(name=name):
                copy = self.installed_copy(folder, name)
                self.assertTrue(os.path.exists(copy), copy)
                self.assertEqual(read(copy), read(source_of(name)))
        self.assertNotIn(SETTINGS, self.files_in(folder))
        run.close()

    def test_a_file_held_open_by_another_process_waits_for_the_restart_and_the_rest_arrive(self):
        folder = "C:\\Program Files\\VarnekHeld"
        # The notice program, running from an earlier installation.
        held = "Brevlet.exe"
        os.makedirs(self.session.unix_path(folder))
        with open(self.session.unix_path(folder + "\\" + held), "wb") as f:
            f.write(b"earlier installation")
        ready, release = "C:\\hold-ready", "C:\\hold-release"
        holder = self.session.start(harness.program("tests/wine/holdfile.exe"), folder + "\\" + held, ready,
                                    release)
        try:
            self.assertTrue(wait_until(lambda: os.path.exists(self.session.unix_path(ready)), timeout=30))
            run = InstallerRun(self.session, INSTALLER, folder)
            run.wait_finished()
            self.assertTrue(run.wizard.no_message_box(500))
            path = folder + "\\" + held
            self.assertEqual(read(self.session.unix_path(path)), b"earlier installation")
            # The new file beside it, which Windows moves over it at the restart.
            self.assertEqual(read(self.session.unix_path(path + ".new")), read(source_of(held)))
            self.assertIn((path + ".new", path, True), pending_renames(self.session))
            for name in MEMBERS:
                if name != held:
                    with self.subTest(name=name):
                        self.assertEqual(read(self.installed_copy(folder, name)), read(source_of(name)))
            run.close()
        finally:
            open(self.session.unix_path(release), "w").close()
            holder.wait(30)


class DamagedPackageTest(WineTestCase):
    """Each damaged copy is refused before anything is written."""

    def run_damaged(self, label, data, outside=(), message=DAMAGED_MESSAGE):
        folder = "C:\\Program Files\\Varnek 损坏 " + label
        path = os.path.join(self.session.dir, label + ".exe")
        with open(path, "wb") as f:
            f.write(data)
        run = InstallerRun(self.session, path, folder)
        box = run.wizard.message_box(timeout_ms=30000)
        self.assertIsNotNone(box, "no message box")
        self.assertEqual(box["caption"], INSTALLER_MSG_CAPTION)
        self.assertEqual(box["text"], message)
        self.assertEqual(box["owner"], INSTALLER_CAPTION)
        self.assertEqual(box["buttons"], [1])  # MB_OK
        controls = run.wizard.state()["controls"]
        self.assertTrue(controls[str(IDC_CANCEL_FINISH)]["visible"] and controls[str(IDC_CANCEL_FINISH)]["enabled"])
        for control in (IDC_NEXT, IDC_BROWSE, IDC_BACK):
            c = controls[str(control)]
            self.assertFalse(c["visible"] and c["enabled"], "control %d is usable" % control)
        self.assertEqual(controls[str(IDC_PROGRESS)]["pos"], 0)
        run.wizard.message_box(press=1)
        # The folder page created the folders; nothing was written into them.
        self.assertEqual(os.listdir(self.session.unix_path(folder)), [])
        self.assertFalse(os.path.exists(self.session.unix_path(DATA_FOLDER + "\\" + SETTINGS)))
        for windows_path in outside:
            self.assertFalse(os.path.exists(self.session.unix_path(windows_path)), windows_path)
        run.close()  # Cancel ends the wizard again

    def test_one_flipped_data_byte(self):
        self.run_damaged("flipped", with_flipped_data_byte(read(INSTALLER), 16))

    def test_traversal_name(self):
        self.run_damaged("traversal", with_entry_name(read(INSTALLER), 16, "..\\..\\evil.dll"),
                         outside=["C:\\evil.dll", "C:\\Program Files\\evil.dll"])

    def test_entry_count_zero(self):
        self.run_damaged("count0", with_entry_count(read(INSTALLER), 0))

    def test_modules_built_for_another_machine(self):
        # The other flavour's stand-ins: i386 modules on 64-bit Windows (x64
        # ones on 32-bit Windows), in an otherwise sound package.
        other = os.path.join(harness.BUILD, "win32" if harness.FACTS.standins == "win64" else "win64", "payload",
                             "vendor")
        for name in NATIVE_MODULES:
            with self.subTest(name=name):
                self.run_damaged("machine " + name, with_entry_contents(read(INSTALLER), {name: read(
                    os.path.join(other, name))}), message=WRONG_MACHINE_MESSAGE)


if __name__ == "__main__":
    unittest.main()
