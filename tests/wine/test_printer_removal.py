"""The uninstaller's printer-system and service removal, one step at a time
through removal_probe.exe, on a printing stack that the installer's own
printer-system step set up with the real payload.

Wine's form calls store nothing, so which forms are deleted, and through
which queue, cannot be seen here: printer_removal_test.cpp checks the list
and the choice of the queue natively. Wine's DeleteMonitor deletes any
monitor key it finds, so the direct clean-up of a key that the spooler
refused to delete cannot be reached here either.
"""
import json
import os
import shutil
import unittest

import harness
import sysstate
from harness import WineTestCase
from package_copies import Package
from test_extraction import INSTALLER

FOLDER = sysstate.DEFAULT_FOLDER
OTHER_DRIVER = "Other Label Driver"
# Not ours: every removal step leaves them alone.
FOREIGN_FILE = "OtherLabel.gpd"


def probe(session, *args):
    return session.run(harness.program("tests/wine/removal_probe.exe"), *args)


def remove_printer_system(session):
    """The step's result: "done", "nothing there" or "failed"."""
    return json.loads(probe(session, "printersystem").stdout.decode())["result"]


def install_printer_system(session, folder=FOLDER):
    """The payload unpacked into folder, then the installer's printer-system step."""
    package = Package.read(INSTALLER)
    unix = session.unix_path(folder)
    os.makedirs(unix, exist_ok=True)
    for index, name in enumerate(package.names()):
        with open(os.path.join(unix, name), "wb") as f:
            f.write(package.content(index))
    process = session.start(harness.program("tests/wine/stephost.exe"), "printersystem", folder)
    if not harness.FACTS.monitor_registers:
        # Wine's monitor limit: the port step's "ERROR" box waits for its OK.
        box = harness.Wizard(session, harness.INSTALLER_CAPTION).message_box(30000, press=1)
        harness.check_installation_boxes([box] if box else [])
    assert process.wait(60) == 0, "the printer-system step ended with %d" % process.returncode


@harness.needs_monitor
class QueuesOfTheDriver(WineTestCase):
    """The installer's queue, a second queue of the driver, a queue of
    another driver and one whose driver name differs only in letter case."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        session = cls.session
        install_printer_system(session)
        sysstate.copy_driver(session, sysstate.DRIVER, OTHER_DRIVER)
        sysstate.add_printer(session, "Other Printer", OTHER_DRIVER)
        sysstate.add_printer(session, "Second Varnek", sysstate.DRIVER)
        # Wine keeps the name a queue was added with; the driver is found
        # without regard to case.
        sysstate.add_printer(session, "Case Printer", sysstate.DRIVER.upper())
        cls.before = sysstate.spooler(session)
        cls.driver_dir = session.unix_path(cls.before["driver_directory"])
        for folder in (cls.driver_dir, os.path.join(cls.driver_dir, "3")):
            with open(os.path.join(folder, FOREIGN_FILE), "w") as f:
                f.write("another driver's data")
        cls.result = remove_printer_system(session)
        cls.after = sysstate.spooler(session)

    def test_every_queue_of_the_driver_and_no_other(self):
        self.assertEqual({sysstate.QUEUE, "Second Varnek", "Other Printer", "Case Printer"},
                         {p["name"] for p in self.before["printers"]})
        remaining = {p["name"]: p["driver"] for p in self.after["printers"]}
        self.assertEqual({"Other Printer": OTHER_DRIVER, "Case Printer": sysstate.DRIVER.upper()}, remaining)

    def test_driver_port_and_monitor_with_its_key_are_gone(self):
        self.assertEqual("done", self.result)
        self.assertEqual([OTHER_DRIVER], [d["name"] for d in self.after["drivers"]])
        self.assertIsNone(sysstate.by_name(self.after["monitors"], sysstate.MONITOR))
        self.assertFalse(sysstate.registry(self.session, sysstate.MONITORS_KEY + "\\" + sysstate.MONITOR)["exists"])
        # Only our port went; the other monitors and their ports stay.
        ports_before = {p["name"] for p in self.before["ports"]}
        self.assertEqual(ports_before - {sysstate.PORT}, {p["name"] for p in self.after["ports"]})
        self.assertEqual({m["name"] for m in self.before["monitors"]} - {sysstate.MONITOR},
                         {m["name"] for m in self.after["monitors"]})

    def test_data_file_goes_from_the_version3_folder_and_the_rest_waits_for_the_clean_up_pass(self):
        version3 = sysstate.lower_names(os.path.join(self.driver_dir, "3"))
        self.assertNotIn("varnekprinter.gpd", version3)
        self.assertIn("varnekui.dll", version3)
        self.assertIn(FOREIGN_FILE.lower(), version3)
        # The files the installer moved stay until the next logon.
        self.assertLessEqual({"varnekprinter.gpd", "unidrv.dll", FOREIGN_FILE.lower()},
                             sysstate.lower_names(self.driver_dir))
        # The spooler deleted the monitor: its library may still be loaded and
        # is left to the clean-up pass.
        system_dir = self.session.unix_path(self.after["system_directory"])
        self.assertIn(sysstate.MONITOR_LIBRARY.lower(), sysstate.lower_names(system_dir))

    def test_removing_again_passes_silently(self):
        # Nothing of ours is left, so nothing fails. Wine's DeletePrinterDriver
        # succeeds for a driver it does not know, so the step reports "done"
        # here where Windows reports "nothing there".
        self.assertIn(remove_printer_system(self.session), ("done", "nothing there"))
        state = sysstate.spooler(self.session)
        self.assertEqual({"Other Printer", "Case Printer"}, {p["name"] for p in state["printers"]})
        self.assertEqual([OTHER_DRIVER], [d["name"] for d in state["drivers"]])


@harness.needs_monitor
class NoPrinterAtAll(WineTestCase):
    """Driver, port and monitor, but no queue at all: Wine's enumeration then
    succeeds needing no buffer, and the driver, port and monitor still go."""

    def test_driver_port_and_monitor_go_without_any_queue(self):
        install_printer_system(self.session)
        sysstate.delete_printer(self.session, sysstate.QUEUE)
        before = sysstate.spooler(self.session)
        self.assertEqual([], before["printers"])
        self.assertIn(sysstate.PORT, [p["name"] for p in before["ports"]])

        self.assertEqual("done", remove_printer_system(self.session))
        after = sysstate.spooler(self.session)
        self.assertIsNone(sysstate.by_name(after["drivers"], sysstate.DRIVER))
        self.assertNotIn(sysstate.PORT, [p["name"] for p in after["ports"]])
        self.assertIsNone(sysstate.by_name(after["monitors"], sysstate.MONITOR))


class ServiceRemoval(WineTestCase):
    """The service step with a minimal real service program in place of the payload's."""

    def test_running_service_is_stopped_and_deleted(self):
        folder = self.session.unix_path(FOLDER)
        os.makedirs(folder)
        shutil.copy(harness.program("payload/vendor/VKPrinterService.exe"), os.path.join(folder, "VKPrinterService.exe"))
        self.session.run(harness.program("tests/wine/stephost.exe"), "service", FOLDER)
        self.assertTrue(sysstate.wait_service_state(self.session, sysstate.RUNNING))

        probe(self.session, "service")
        # The deletion completes once the service has stopped and the
        # uninstaller, which kept its handles, has ended.
        self.assertTrue(sysstate.wait_service_gone(self.session))
        self.assertFalse(sysstate.registry(
            self.session, "HKLM\\System\\CurrentControlSet\\Services\\" + sysstate.SERVICE)["exists"])

    def test_missing_service_passes_silently(self):
        self.assertFalse(sysstate.service(self.session, "Varnek Printer Service")["exists"])
        result = probe(self.session, "service")
        self.assertEqual(0, result.returncode)
        self.assertEqual({"result": "nothing there", "error": 0}, json.loads(result.stdout.decode()))


class CleanUpPass(WineTestCase):
    """CleanUpInstallation: the rest of the installation folder, the ten
    driver files, the product's own five in the version-3 folder, and the
    monitor library in the native system directory."""

    def test_driver_files_and_monitor_library(self):
        state = sysstate.spooler(self.session)
        driver_dir = self.session.unix_path(state["driver_directory"])
        version3 = os.path.join(driver_dir, "3")
        system_dir = self.session.unix_path(state["system_directory"])
        os.makedirs(version3, exist_ok=True)
        driver_dir_before, version3_before = set(os.listdir(driver_dir)), set(os.listdir(version3))
        for folder in (driver_dir, version3):
            for name in sysstate.DRIVER_FILES + [FOREIGN_FILE]:
                with open(os.path.join(folder, name), "w") as f:
                    f.write(name)
        with open(os.path.join(system_dir, sysstate.MONITOR_LIBRARY), "w") as f:
            f.write("library")
        folder = self.session.unix_path(FOLDER)
        for name in ("Brevlet.exe", "sub/VKPrinterService.exe"):
            os.makedirs(os.path.dirname(os.path.join(folder, name)), exist_ok=True)
            with open(os.path.join(folder, name), "w") as f:
                f.write(name)

        # Ours by the record, so its whole tree goes.
        self.session.run("reg", "add", sysstate.PRODUCT_KEY, "/v", "Owned Folder", "/d", FOLDER, "/f")
        probe(self.session, "cleanup", FOLDER)

        # The folder itself is the finisher's to remove.
        self.assertEqual([], os.listdir(folder))
        self.assertEqual(driver_dir_before | {FOREIGN_FILE}, set(os.listdir(driver_dir)))
        # The Unidrv files stay in the version-3 folder: other drivers use them there.
        unidrv = set(sysstate.DRIVER_FILES) - set(sysstate.OWN_DRIVER_FILES)
        self.assertEqual(version3_before | unidrv | {FOREIGN_FILE}, set(os.listdir(version3)))
        self.assertNotIn(sysstate.MONITOR_LIBRARY.lower(), sysstate.lower_names(system_dir))


class ForeignPort(WineTestCase):
    """A port named "USB PORT:" that another monitor serves (here Wine's
    local port monitor, which lists the values of its Ports key) is not
    ours: the removal leaves it."""

    def test_a_port_of_another_monitor_stays(self):
        self.session.run("reg", "add", "HKLM\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports",
                         "/v", sysstate.PORT, "/d", "", "/f")
        before = sysstate.spooler(self.session)
        port = sysstate.by_name(before["ports"], sysstate.PORT)
        self.assertIsNotNone(port)
        self.assertNotEqual(sysstate.MONITOR, port["monitor"])
        remove_printer_system(self.session)
        after = sysstate.spooler(self.session)
        self.assertEqual(port, sysstate.by_name(after["ports"], sysstate.PORT))


class DriverLeftRegistered(WineTestCase):
    """A driver that the wizard could not delete (in use) is deleted by the
    clean-up pass before its files. Wine's DeletePrinterDriver succeeds even
    for a driver in use, so a driver that stays registered cannot be made
    here: that its files then stay is the plain order of
    CleanUpInstallation in removal.cpp."""

    def test_clean_up_pass_deletes_the_driver_then_its_files(self):
        install_printer_system(self.session)
        before = sysstate.spooler(self.session)
        self.assertIsNotNone(sysstate.by_name(before["drivers"], sysstate.DRIVER))
        probe(self.session, "cleanup", FOLDER)
        after = sysstate.spooler(self.session)
        self.assertIsNone(sysstate.by_name(after["drivers"], sysstate.DRIVER))
        driver_dir = self.session.unix_path(after["driver_directory"])
        self.assertEqual(set(), {n.lower() for n in os.listdir(driver_dir)} &
                         {n.lower() for n in sysstate.DRIVER_FILES})


if __name__ == "__main__":
    unittest.main()
