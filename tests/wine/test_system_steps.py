"""The installer's system steps run one at a time through stephost.exe in a
real Wine prefix: the registry key, the Start-menu shortcut, the printer
service, the USB device driver, and the printer system with a monitor that
cannot be registered. What needs a whole installation (the stand-in payload
through the real wizard) is in test_installation.py."""
import os
import shutil
import subprocess
import unittest

import harness
import sysstate
from harness import WineTestCase

FOLDER = "C:\\Program Files\\VarnekPrinter"
DATA_FOLDER = "C:\\ProgramData\\VarnekPrinter"
LINK_FOLDER = "Varnek打印机"
LINK_NAME = "卸载 Varnek打印机驱动.lnk"


def step(session, *args, timeout=60):
    return session.run(harness.program("tests/wine/stephost.exe"), *args, timeout=timeout)


def lnk_fields(path):
    """"Local path" and "Working directory" of a shortcut, as Linux's lnkinfo reads them."""
    out = subprocess.run(["lnkinfo", "-c", "windows-936", path], capture_output=True, text=True,
                         check=True).stdout
    fields = {}
    for line in out.splitlines():
        name, sep, value = line.strip().partition(":")
        if sep:
            fields[name.strip()] = value.strip()
    return fields


class RegistryAndShortcut(WineTestCase):

    def test_registry_key_holds_both_folders_with_their_terminators(self):
        folder = "C:\\安装\\Varnek Printer"
        step(self.session, "registry", folder, DATA_FOLDER)
        key = sysstate.registry(self.session, "HKLM\\Software\\VarnekPrinter")
        self.assertTrue(key["exists"])
        values = key["values"]
        self.assertEqual({"Data Directory", "Program Directory"}, set(values))
        self.assertEqual({"type": "REG_SZ", "data": DATA_FOLDER, "size": 2 * (len(DATA_FOLDER) + 1)},
                         values["Data Directory"])
        # The terminating zero is stored: a length without it would cut the last character on read.
        self.assertEqual({"type": "REG_SZ", "data": folder, "size": 2 * (len(folder) + 1)},
                         values["Program Directory"])

    def test_shortcut_points_at_the_uninstaller_and_works_in_its_folder(self):
        folder = "C:\\Program Files\\Varnek 打印机"
        step(self.session, "startmenu", folder)
        programs = os.path.join(sysstate.user_profile(self.session), "AppData", "Roaming", "Microsoft",
                                "Windows", "Start Menu", "Programs")
        link = os.path.join(programs, LINK_FOLDER, LINK_NAME)
        self.assertTrue(os.path.isfile(link), os.listdir(programs))
        fields = lnk_fields(link)
        self.assertEqual(folder + "\\Uninstaller.exe", fields["Local path"])
        self.assertEqual(folder, fields["Working directory"])

        # A second run replaces the shortcut with the new target.
        step(self.session, "startmenu", "D:\\Other")
        self.assertEqual("D:\\Other\\Uninstaller.exe", lnk_fields(link)["Local path"])


class StartMenuWithoutProgramsFolder(WineTestCase):

    def test_missing_parent_folder_passes_silently(self):
        profile = sysstate.user_profile(self.session)
        # The name Windows reaches the programs folder by is absent here.
        os.unlink(os.path.join(profile, "「开始」菜单", "程序"))
        wizard = harness.Wizard(self.session, harness.INSTALLER_CAPTION)
        process = self.session.start(harness.program("tests/wine/stephost.exe"), "startmenu", FOLDER)
        self.assertTrue(wizard.no_message_box(1500))
        self.assertEqual(0, process.wait(30))
        self.assertFalse(os.path.exists(os.path.join(profile, "「开始」菜单", "程序")))
        found = [root for root, dirs, files in os.walk(profile) if LINK_FOLDER in dirs or LINK_NAME in files]
        self.assertEqual([], found)


class LongInstallationFolder(WineTestCase):
    """Paths that would not fit their 256-byte buffers are refused, never cut."""

    def test_steps_refuse_paths_that_do_not_fit(self):
        # 247 characters: the folder itself fits, none of the names composed with it does.
        folder = "C:\\" + "\\".join(["v" * 48] * 5)
        self.assertEqual(247, len(folder))
        unix = self.session.unix_path(folder)
        os.makedirs(unix)
        shutil.copy(harness.program("tests/wine/testsvc.exe"), os.path.join(unix, "VKPrinterService.exe"))
        with open(os.path.join(unix, "VarnekPrinter.gpd"), "w") as f:
            f.write("gpd")

        step(self.session, "service", folder)
        self.assertFalse(sysstate.service(self.session)["exists"])

        step(self.session, "registry", folder, DATA_FOLDER)
        values = sysstate.registry(self.session, "HKLM\\Software\\VarnekPrinter")["values"]
        self.assertEqual(folder, values["Program Directory"]["data"])

        step(self.session, "startmenu", folder)
        link_folder = os.path.join(sysstate.user_profile(self.session), "「开始」菜单", "程序", LINK_FOLDER)
        self.assertEqual([], os.listdir(link_folder))

        # "\VarnekPrinter.gpd" does not fit: the file is neither moved nor copied under a cut name.
        wizard = harness.Wizard(self.session, harness.INSTALLER_CAPTION)
        process = self.session.start(harness.program("tests/wine/stephost.exe"), "printersystem", folder)
        wizard.message_box(10000, press=1)
        self.assertEqual(0, process.wait(60))
        self.assertTrue(os.path.isfile(os.path.join(unix, "VarnekPrinter.gpd")))
        driver_dir = self.session.unix_path(sysstate.spooler(self.session)["driver_directory"])
        self.assertNotIn("VarnekPrinter.gpd", os.listdir(driver_dir))


class PrinterService(WineTestCase):
    """The service step with a minimal real service program in place of the payload's."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        folder = cls.session.unix_path(FOLDER)
        os.makedirs(folder)
        shutil.copy(harness.program("tests/wine/testsvc.exe"), os.path.join(folder, "VKPrinterService.exe"))

    def tearDown(self):
        # An auto-start service would start again with every new Wine session.
        self.stop()
        self.session.run("sc", "delete", sysstate.SERVICE, check=False)
        self.assertTrue(harness.wait_until(lambda: not sysstate.service(self.session)["exists"]))

    def stop(self):
        self.session.run("sc", "stop", sysstate.SERVICE, check=False)
        self.assertTrue(harness.wait_until(
            lambda: sysstate.service(self.session).get("state", sysstate.STOPPED) == sysstate.STOPPED))

    def install(self):
        step(self.session, "service", FOLDER)
        return sysstate.service(self.session)

    def test_service_is_created_described_and_running(self):
        service = self.install()
        self.assertTrue(service["exists"])
        self.assertEqual(0x110, service["type"])  # own process, interactive
        self.assertEqual(2, service["start"])  # automatic
        self.assertEqual(1, service["error_control"])  # normal
        # Quoted: the folder holds a blank.
        self.assertEqual('"%s\\VKPrinterService.exe"' % FOLDER, service["binary_path"])
        self.assertEqual("Varnek Printer Service", service["display_name"])
        self.assertEqual("Varnek打印机侦测服务", service["description"])
        self.assertEqual([], service["dependencies"])
        self.assertEqual("", service["load_order_group"])
        self.assertEqual("LocalSystem", service["account"])
        self.assertTrue(harness.wait_until(
            lambda: sysstate.service(self.session)["state"] == sysstate.RUNNING))

    def test_installing_again_leaves_a_stopped_service_stopped(self):
        self.install()
        self.stop()
        again = self.install()
        self.assertEqual(sysstate.STOPPED, again["state"])

    def test_installing_again_leaves_a_changed_service_as_changed(self):
        self.install()
        self.stop()
        sysstate.set_service_start_type(self.session, 3)  # on demand
        self.session.run("sc", "description", sysstate.SERVICE, "changed")
        again = self.install()
        self.assertEqual(3, again["start"])
        self.assertEqual("changed", again["description"])
        self.assertEqual(sysstate.STOPPED, again["state"])

    def test_installing_again_leaves_a_deleted_service_deleted(self):
        self.install()
        self.assertTrue(harness.wait_until(
            lambda: sysstate.service(self.session)["state"] == sysstate.RUNNING))
        # Marked for deletion while running: it goes once it stops.
        self.session.run("sc", "delete", sysstate.SERVICE)
        self.install()
        self.stop()
        self.assertTrue(harness.wait_until(lambda: not sysstate.service(self.session)["exists"]))


# A driver package of the test's own, for a device the harness attaches: the
# stand-in package of the payload is tested through the wizard.
INF = """[Version]
Signature="$Windows NT$"
Class=USB
ClassGuid={36FC9E60-C465-11CF-8056-444553540000}
Provider=%Maker%
CatalogFile=Testusb.cat
DriverVer=01/01/2024,1.0.0.0

[Manufacturer]
%Maker%=Models,NTamd64

[Models]
%Device%=Install,HARDWARE_ID
[Models.NTamd64]
%Device%=Install,HARDWARE_ID

[DestinationDirs]
DefaultDestDir=12

[SourceDisksNames]
1=%Disk%

[SourceDisksFiles]
Testusb.sys=1

[Install]
CopyFiles=Files
[Install.NTamd64]
CopyFiles=Files

[Files]
Testusb.sys

[Install.Services]
AddService=Testusb,0x00000002,Service
[Install.NTamd64.Services]
AddService=Testusb,0x00000002,Service

[Service]
ServiceType=1
StartType=3
ErrorControl=1
ServiceBinary=%12%\\Testusb.sys

[Strings]
Maker="Varnek Test"
Device="Varnek Test Printer"
Disk="Varnek Test Disk"
"""


class UsbDeviceDriver(WineTestCase):
    """Wine's forced update reports success even when no attached device is
    served by the package, so the driver-store fallback never runs here: the
    decision is tested natively (install_decisions_test.cpp)."""

    def tearDown(self):
        sysstate.remove_devices(self.session)

    def package(self, folder, hardware_id):
        unix = self.session.unix_path(folder)
        os.makedirs(unix, exist_ok=True)
        with open(os.path.join(unix, "Testusb.inf"), "w", newline="\r\n") as f:
            f.write(INF.replace("HARDWARE_ID", hardware_id))
        with open(os.path.join(unix, "Testusb.cat"), "wb") as f:
            f.write(b"catalogue")
        with open(os.path.join(unix, "Testusb.sys"), "wb") as f:
            f.write(b"driver")
        return folder + "\\Testusb.inf"

    def test_attached_printer_gets_the_package(self):
        inf = self.package("C:\\Program Files\\Attached", sysstate.HARDWARE_ID)
        sysstate.attach_device(self.session)
        self.assertEqual('{"result": 0}', step(self.session, "usbdriver", inf).stdout.decode().strip())
        self.assertTrue(os.path.isfile(self.session.unix_path("C:\\windows\\system32\\drivers\\Testusb.sys")))
        key = sysstate.registry(self.session, "HKLM\\System\\CurrentControlSet\\Services\\Testusb")
        self.assertTrue(key["exists"])
        self.assertEqual("C:\\windows\\system32\\drivers\\Testusb.sys", key["values"]["ImagePath"]["data"])
        self.assertEqual(["Testusb"], [d["service"] for d in sysstate.devices(self.session)])


class PrinterSystemWithoutMonitor(WineTestCase):
    """No monitor library in the installation folder: the monitor cannot be
    registered, the port cannot be added, and the rest still happens."""

    DRIVER_FILES = ["VarnekUI.ini", "VarnekUI.dll", "VarnekUni.dll", "UNIRES.DLL", "UNIDRV.HLP",
                    "UNIDRVUI.dll", "UNIDRV.dll", "STDNAMES.GPD", "VarnekPrinter.gpd"]

    def test_one_error_box_then_driver_queue_and_printer_data(self):
        folder = self.session.unix_path(FOLDER)
        os.makedirs(folder)
        # Wine's spooler registers a driver whose files are text placeholders.
        for name in self.DRIVER_FILES:
            with open(os.path.join(folder, name), "w") as f:
                f.write("placeholder " + name)

        wizard = harness.Wizard(self.session, harness.INSTALLER_CAPTION)
        process = self.session.start(harness.program("tests/wine/stephost.exe"), "printersystem", FOLDER)
        box = wizard.message_box(15000, press=1)
        self.assertIsNotNone(box)
        self.assertEqual("ERROR", box["caption"])
        self.assertEqual(0, box["has_owner"])
        self.assertEqual(1, box["icon"])  # MB_ICONINFORMATION
        self.assertEqual([1], box["buttons"])  # MB_OK
        self.assertTrue(box["text"].strip())
        self.assertTrue(wizard.no_message_box(1500))
        self.assertEqual(0, process.wait(60))

        state = sysstate.spooler(self.session)
        self.assertIsNone(sysstate.by_name(state["monitors"], sysstate.MONITOR))
        self.assertNotIn(sysstate.PORT, [p["name"] for p in state["ports"]])
        self.assertIsNotNone(sysstate.by_name(state["drivers"], sysstate.DRIVER))
        queue = sysstate.by_name(state["printers"], sysstate.QUEUE)
        self.assertIsNotNone(queue)
        self.assertEqual(sysstate.PORT, queue["port"])
        self.assertEqual({"type": "REG_DWORD", "data": 1},
                         sysstate.printer_data(self.session, sysstate.QUEUE, "Position"))
        self.assertEqual([], [n for n in os.listdir(folder) if n in self.DRIVER_FILES])


if __name__ == "__main__":
    unittest.main()
