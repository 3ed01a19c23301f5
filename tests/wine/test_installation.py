"""A whole installation through the real wizard with the stand-in payload,
checked from the prefix's real state: registry key, Start-menu shortcut,
service, USB device driver, driver files, monitor, port, driver, queue and
printer data; installing again over it; and a payload whose monitor cannot
be registered. Each in the default folder and the system's places of the
Wine mode (harness.FACTS)."""
import os
import unittest

import harness
import sysstate
from package_copies import Package, without_entry
from resource_ids import INSTALLER as IDS
from test_extraction import INSTALLER
from test_system_steps import lnk_fields

NEXT, FINISH = IDS.IDC_NEXT, IDS.IDC_CANCEL_FINISH
FOLDER = sysstate.DEFAULT_FOLDER
DATA_FOLDER = "C:\\ProgramData\\VarnekPrinter"
DRIVER_FILES = ["VarnekUI.ini", "VarnekUI.dll", "VarnekUni.dll", "UNIRES.DLL", "unidrv.hlp", "UNIDRVUI.dll",
                "UNIDRV.dll", "STDNAMES.GPD", "VarnekPrinter.gpd"]
DEPENDENT_FILES = ["UNIDRV.dll", "UNIRES.DLL", "UNIDRVUI.dll", "VarnekPrinter.gpd", "VarnekUI.dll", "VarnekUI.ini",
                   "VarnekUni.dll", "STDNAMES.GPD"]
# What the stand-in INF installs for the printer's hardware ID.
USB_SERVICE = "Nelvusb"


def lower_names(unix_folder):
    return {name.lower() for name in os.listdir(unix_folder)} if os.path.isdir(unix_folder) else set()


def install(session, installer=INSTALLER, folder=FOLDER, failing=False):
    """Runs the wizard through a whole installation; returns the message boxes
    that appeared while it ran, each answered with OK. failing: steps fail, so
    the run ends with the closing message and only Cancel, never the finished
    page."""
    process = session.start(installer)
    wizard = harness.Wizard(session, harness.INSTALLER_CAPTION)
    assert wizard.wait(), "the wizard did not appear"
    wizard.click(NEXT)
    wizard.wait_folder_page()
    wizard.set_folder(folder)
    wizard.click(NEXT)
    boxes = wizard.wait_installed(process, failing)
    wizard.click(FINISH)
    assert process.wait(30) == 0
    return boxes


class Installation(sysstate.ServiceCase):
    """One installation with the printer attached."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        try:
            sysstate.attach_device(cls.session)
            cls.boxes = install(cls.session)
            cls.spooler = sysstate.spooler(cls.session)
        except BaseException:
            cls.tearDownClass()  # unittest skips it when setUpClass fails
            raise

    @classmethod
    def tearDownClass(cls):
        if cls.session:
            sysstate.remove_devices(cls.session)
        super().tearDownClass()

    def test_no_message_box_but_the_one_of_wines_limit(self):
        harness.check_installation_boxes(self.boxes)

    def test_keys_in_the_native_registry_view_and_nothing_redirected(self):
        self.assertTrue(sysstate.registry(self.session, sysstate.PRODUCT_KEY)["exists"])
        self.assertTrue(sysstate.registry(self.session, sysstate.UNINSTALL_KEY)["exists"])
        self.assertEqual([], sysstate.in_32bit_views(self.session))

    def test_registry_key_names_both_folders(self):
        values = sysstate.registry(self.session, "HKLM\\Software\\VarnekPrinter")["values"]
        self.assertEqual({"type": "REG_SZ", "data": DATA_FOLDER, "size": 2 * (len(DATA_FOLDER) + 1)},
                         values["Data Directory"])
        self.assertEqual({"type": "REG_SZ", "data": FOLDER, "size": 2 * (len(FOLDER) + 1)},
                         values["Program Directory"])

    def test_start_menu_shortcut_targets_the_installed_uninstaller(self):
        # In the shell's programs folder: the prefix has no "「开始」菜单\\程序".
        self.assertFalse(os.path.exists(os.path.join(sysstate.user_profile(self.session), "「开始」菜单")))
        link = os.path.join(sysstate.start_menu_folder(self.session), "Varnek打印机", "卸载 Varnek打印机驱动.lnk")
        fields = lnk_fields(link)
        self.assertEqual(FOLDER + "\\Uninstaller.exe", fields["Local path"])
        self.assertEqual(FOLDER, fields["Working directory"])
        self.assertTrue(os.path.isfile(self.session.unix_path(FOLDER + "\\Uninstaller.exe")))

    def test_programs_and_features_entry(self):
        key = sysstate.registry(self.session, sysstate.UNINSTALL_KEY)
        self.assertTrue(key["exists"])
        values = {name: (v["type"], v["data"]) for name, v in key["values"].items()}
        uninstaller = FOLDER + "\\Uninstaller.exe"
        size = values.pop("EstimatedSize")
        self.assertEqual({
            "DisplayName": ("REG_SZ", "Varnek标牌打印机驱动"),
            "DisplayVersion": ("REG_SZ", sysstate.PACKAGE_VERSION),
            "Publisher": ("REG_SZ", "Varnek"),
            "InstallLocation": ("REG_SZ", FOLDER),
            "DisplayIcon": ("REG_SZ", uninstaller + ",0"),
            "UninstallString": ("REG_SZ", '"%s"' % uninstaller),
            "QuietUninstallString": ("REG_SZ", '"%s" /S' % uninstaller),
            "NoModify": ("REG_DWORD", 1),
            "NoRepair": ("REG_DWORD", 1),
        }, values)
        # Every extracted file but the settings file, measured before the
        # driver files left the folder: the package's inflated size.
        package = Package.read(INSTALLER)
        installed = sum(len(package.content(i)) for i, name in enumerate(package.names())
                        if name != "VarnekSetting.ini")
        self.assertEqual(("REG_DWORD", (installed + 1023) // 1024), size)
        # Wine's own list of installed programs, a client we did not write.
        self.assertEqual(["VarnekPrinter|||Varnek标牌打印机驱动"], sysstate.programs_and_features(self.session))

    def test_service_runs_the_installed_program(self):
        self.assertTrue(sysstate.wait_service_state(self.session, sysstate.RUNNING))
        service = sysstate.service(self.session)
        self.assertEqual(0x110, service["type"])
        self.assertEqual(2, service["start"])
        self.assertEqual(1, service["error_control"])
        self.assertEqual('"%s\\VKPrinterService.exe"' % FOLDER, service["binary_path"])
        self.assertEqual("Varnek打印机侦测服务", service["description"])
        self.assertEqual("LocalSystem", service["account"])

    def test_attached_printer_got_the_usb_driver(self):
        # Wine's forced update also reports success when no attached device
        # is served, so the driver-store fallback never runs under Wine: that
        # decision is tested natively (install_decisions_test.cpp).
        self.assertTrue(os.path.isfile(self.session.unix_path("C:\\windows\\system32\\drivers\\Nelvusb.sys")))
        key = sysstate.registry(self.session, "HKLM\\System\\CurrentControlSet\\Services\\" + USB_SERVICE)
        self.assertTrue(key["exists"])
        self.assertEqual([USB_SERVICE], [d["service"] for d in sysstate.devices(self.session)])
        # The package itself stays in the installation folder.
        self.assertTrue({"nelvusb.inf", "nelvusb.cat", "nelvusb.sys"} <=
                        lower_names(self.session.unix_path(FOLDER)))

    def test_driver_files_moved_into_the_driver_directory(self):
        self.assertEqual(sysstate.ENVIRONMENT, self.spooler["environment"])
        driver_dir = self.spooler["driver_directory"]
        self.assertTrue(driver_dir.endswith("\\" + sysstate.DRIVER_DIR_NAME), driver_dir)
        wanted = {name.lower() for name in DRIVER_FILES}
        self.assertEqual(set(), wanted & lower_names(self.session.unix_path(FOLDER)))
        self.assertEqual(wanted, wanted & lower_names(self.session.unix_path(driver_dir)))
        # The spooler copies the registered files into its version-3 folder.
        self.assertEqual(wanted, wanted & lower_names(self.session.unix_path(driver_dir + "\\3")))

    def test_monitor_library_is_in_the_native_system_directory(self):
        self.assertEqual(harness.FACTS.system_dir.lower(), self.spooler["system_directory"].lower())
        system_dir = self.session.unix_path(harness.FACTS.system_dir)
        self.assertIn(sysstate.MONITOR_LIBRARY.lower(), lower_names(system_dir))
        self.assertNotIn(sysstate.MONITOR_LIBRARY.lower(), lower_names(self.session.unix_path(FOLDER)))

    @unittest.skipIf(harness.FACTS.monitor_registers, "the monitor registers in this mode")
    def test_the_monitor_fails_only_by_wines_limit(self):
        # The library is in place and still AddMonitor from a 32-bit process
        # fails with 126: Wine loads it into the caller.
        self.assertIn(sysstate.MONITOR_LIBRARY.lower(),
                      lower_names(self.session.unix_path(harness.FACTS.system_dir)))
        self.assertEqual(harness.MONITOR_LIMIT_ERROR, sysstate.add_monitor(self.session))
        self.assertFalse(sysstate.registry(self.session, sysstate.MONITORS_KEY + "\\" + sysstate.MONITOR)["exists"])
        self.assertIsNone(sysstate.by_name(self.spooler["monitors"], sysstate.MONITOR))
        self.assertNotIn(sysstate.PORT, [port["name"] for port in self.spooler["ports"]])
        self.assertIsNone(sysstate.by_name(self.spooler["printers"], sysstate.QUEUE))

    @harness.needs_monitor
    def test_monitor_is_registered(self):
        key = sysstate.registry(self.session, sysstate.MONITORS_KEY + "\\" + sysstate.MONITOR)
        self.assertTrue(key["exists"])
        self.assertEqual(sysstate.MONITOR_LIBRARY, key["values"]["Driver"]["data"])
        monitor = sysstate.by_name(self.spooler["monitors"], sysstate.MONITOR)
        self.assertIsNotNone(monitor, self.spooler["monitors"])
        self.assertEqual(sysstate.MONITOR_LIBRARY, sysstate.base_name(monitor["dll"]))

    @harness.needs_monitor
    def test_port_is_listed_through_the_monitor(self):
        self.assertIn(sysstate.PORT, [port["name"] for port in self.spooler["ports"]])

    def test_driver_has_every_field(self):
        driver = sysstate.by_name(self.spooler["drivers"], sysstate.DRIVER)
        self.assertIsNotNone(driver, self.spooler["drivers"])
        self.assertEqual(3, driver["version"])
        self.assertEqual(sysstate.ENVIRONMENT, driver["environment"])
        version3 = self.spooler["driver_directory"] + "\\3"
        for field, name in [("driver_path", "UNIDRV.dll"), ("data_file", "VarnekPrinter.gpd"),
                            ("config_file", "UNIDRVUI.dll"), ("help_file", "UNIDRV.HLP")]:
            with self.subTest(field=field):
                self.assertEqual(name.lower(), sysstate.base_name(driver[field]).lower())
                self.assertEqual(version3.lower(), sysstate.folder_of(driver[field]).lower())
        self.assertEqual(DEPENDENT_FILES, [sysstate.base_name(f) for f in driver["dependent_files"]])
        # Wine reports the absent monitor and data type as empty strings.
        self.assertIn(driver["monitor_name"], (None, ""))
        self.assertIn(driver["default_data_type"], (None, ""))

    @harness.needs_monitor
    def test_queue_on_the_port_with_the_driver(self):
        queue = sysstate.by_name(self.spooler["printers"], sysstate.QUEUE)
        self.assertIsNotNone(queue, self.spooler["printers"])
        expected = {"share_name": "VarnekPrinter", "port": sysstate.PORT, "driver": sysstate.DRIVER,
                    "print_processor": "WinPrint", "datatype": "RAW", "attributes": 4, "sep_file": "",
                    "parameters": "", "priority": 0, "default_priority": 0, "start_time": 0, "until_time": 0}
        self.assertEqual(expected, {key: queue[key] for key in expected})
        self.assertEqual({"type": "REG_DWORD", "data": 1},
                         sysstate.printer_data(self.session, sysstate.QUEUE, "Position"))


class Reinstallation(sysstate.ServiceCase):
    """Installing over an existing installation, with no printer attached."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.first_boxes = install(cls.session)

    @harness.needs_monitor
    def test_second_installation_keeps_what_the_first_left(self):
        self.assertEqual([], self.first_boxes)
        sysstate.set_printer_data(self.session, sysstate.QUEUE, "Position", 7)
        self.session.run("sc", "stop", sysstate.SERVICE)
        self.assertTrue(sysstate.wait_service_state(self.session, sysstate.STOPPED))

        # The monitor and the port exist already: no box for either.
        self.assertEqual([], install(self.session))
        self.assertEqual({"type": "REG_DWORD", "data": 7},
                         sysstate.printer_data(self.session, sysstate.QUEUE, "Position"))
        self.assertEqual(sysstate.STOPPED, sysstate.service(self.session)["state"])
        state = sysstate.spooler(self.session)
        self.assertEqual([sysstate.QUEUE], [p["name"] for p in state["printers"]])
        self.assertEqual(1, [p["name"] for p in state["ports"]].count(sysstate.PORT))

    def test_usb_package_with_its_catalogue_is_accepted_by_the_driver_store(self):
        # With no device attached Wine's forced update never opens the INF, so
        # the store has no copy yet: this is the store's first look at it.
        self.assertNotIn("nelvusb.inf", lower_names(self.session.unix_path("C:\\windows\\inf")))
        stored = sysstate.copy_oem_inf(self.session, FOLDER + "\\Nelvusb.inf")
        self.assertEqual(True, stored["ok"], stored)
        self.assertTrue(stored["stored"].lower().startswith("c:\\windows\\inf\\"), stored)


@harness.needs_monitor
class MonitorUnregistrable(sysstate.ServiceCase):
    """A payload without the monitor library: the monitor cannot be
    registered, so the port cannot be added; driver and queue still come, and
    the run ends with one message naming the three failed steps."""

    def test_exactly_one_error_box_and_the_rest_installed(self):
        installer = os.path.join(self.session.dir, "NoMonitorSetup.exe")
        with open(INSTALLER, "rb") as f:
            data = f.read()
        with open(installer, "wb") as f:
            f.write(without_entry(data, sysstate.MONITOR_LIBRARY))

        boxes = install(self.session, installer=installer, failing=True)
        # The port's own box while the run goes on, then the closing message.
        self.assertEqual(2, len(boxes), boxes)
        box = boxes[0]
        self.assertEqual("ERROR", box["caption"])
        self.assertEqual(0, box["has_owner"])
        self.assertEqual(1, box["icon"])  # MB_ICONINFORMATION
        self.assertEqual([1], box["buttons"])  # MB_OK
        self.assertTrue(box["text"].strip())
        closing = boxes[1]
        self.assertEqual(1, closing["has_owner"])
        for step in ("端口监视器文件的复制", "端口监视器的注册", "打印机端口 USB PORT:"):
            self.assertIn(step, closing["text"])
        self.assertNotIn("打印机 VarnekPrinter", closing["text"])

        state = sysstate.spooler(self.session)
        self.assertIsNone(sysstate.by_name(state["monitors"], sysstate.MONITOR))
        self.assertNotIn(sysstate.PORT, [p["name"] for p in state["ports"]])
        self.assertIsNotNone(sysstate.by_name(state["drivers"], sysstate.DRIVER))
        queue = sysstate.by_name(state["printers"], sysstate.QUEUE)
        self.assertEqual(sysstate.PORT, queue["port"])
        self.assertEqual({"type": "REG_DWORD", "data": 1},
                         sysstate.printer_data(self.session, sysstate.QUEUE, "Position"))


if __name__ == "__main__":
    unittest.main()
