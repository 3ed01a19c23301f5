"""The installer's system steps run one at a time through stephost.exe in a
real Wine prefix, for the cases a whole installation cannot set up: other
folders for the registry key and the shortcut, a missing Start-menu parent,
paths that do not fit, and an existing service that was stopped, changed or
deleted. The whole installation through the wizard is test_installation.py."""
import json
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

# The service step's failure code (README.md).
SERVICE_FAILED = 19


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
        programs = sysstate.start_menu_folder(self.session)
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
        programs = sysstate.start_menu_folder(self.session)
        shutil.rmtree(programs)
        wizard = harness.Wizard(self.session, harness.INSTALLER_CAPTION)
        process = self.session.start(harness.program("tests/wine/stephost.exe"), "startmenu", FOLDER)
        self.assertTrue(wizard.no_message_box(1500))
        self.assertEqual(0, process.wait(30))
        self.assertFalse(os.path.exists(programs))
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
        shutil.copy(harness.program("payload/vendor/VKPrinterService.exe"), os.path.join(unix, "VKPrinterService.exe"))
        with open(os.path.join(unix, "VarnekPrinter.gpd"), "w") as f:
            f.write("gpd")

        result = json.loads(step(self.session, "service", folder).stdout)["result"]
        self.assertEqual(SERVICE_FAILED, result)
        self.assertFalse(sysstate.service(self.session)["exists"])

        step(self.session, "registry", folder, DATA_FOLDER)
        values = sysstate.registry(self.session, "HKLM\\Software\\VarnekPrinter")["values"]
        self.assertEqual(folder, values["Program Directory"]["data"])

        step(self.session, "startmenu", folder)
        link_folder = os.path.join(sysstate.start_menu_folder(self.session), LINK_FOLDER)
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
        shutil.copy(harness.program("payload/vendor/VKPrinterService.exe"), os.path.join(folder, "VKPrinterService.exe"))

    def tearDown(self):
        # An auto-start service would start again with every new Wine session.
        self.stop()
        self.session.run("sc", "delete", sysstate.SERVICE, check=False)
        self.assertTrue(sysstate.wait_service_gone(self.session))

    def stop(self):
        self.session.run("sc", "stop", sysstate.SERVICE, check=False)
        self.assertTrue(harness.wait_until(
            lambda: sysstate.service(self.session).get("state", sysstate.STOPPED) == sysstate.STOPPED))

    def install(self, folder=FOLDER, *running):
        """Runs the service step; the service's state after it."""
        self.result = json.loads(step(self.session, "service", folder, *running).stdout)["result"]
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
        self.assertEqual(0, self.result)
        self.assertTrue(sysstate.wait_service_state(self.session, sysstate.RUNNING))

    def test_installing_again_leaves_a_stopped_service_stopped(self):
        self.install()
        self.stop()
        again = self.install()
        self.assertEqual(sysstate.STOPPED, again["state"])
        self.assertEqual(0, self.result)

    def test_an_upgrade_points_the_service_at_the_new_program_and_starts_it(self):
        self.install()
        self.stop()
        sysstate.set_service_start_type(self.session, 3)  # on demand: the user's choice stays
        other = "C:\\Varnek Upgrade"
        os.makedirs(self.session.unix_path(other))
        shutil.copy(harness.program("payload/vendor/VKPrinterService.exe"),
                    os.path.join(self.session.unix_path(other), "VKPrinterService.exe"))
        # It ran before the upgrade stopped it.
        again = self.install(other, "running")
        self.assertEqual(0, self.result)
        self.assertEqual('"%s\\VKPrinterService.exe"' % other, again["binary_path"])
        self.assertEqual(3, again["start"])
        self.assertEqual("Varnek打印机侦测服务", again["description"])
        self.assertTrue(sysstate.wait_service_state(self.session, sysstate.RUNNING))

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
        self.assertTrue(sysstate.wait_service_state(self.session, sysstate.RUNNING))
        # Marked for deletion while running: it goes once it stops, so no
        # service would run the program: the step fails.
        self.session.run("sc", "delete", sysstate.SERVICE)
        self.install()
        self.assertEqual(SERVICE_FAILED, self.result)
        self.stop()
        self.assertTrue(sysstate.wait_service_gone(self.session))


if __name__ == "__main__":
    unittest.main()
