"""The stand-in payload files, exercised through the Windows calls that use
them: the port monitor through the spooler, the service through the service
control manager, the INF through SetupAPI, the driver modules through their
entry points."""
import json
import os
import shutil
import unittest

import harness
from harness import Wizard, WineTestCase, wait_until

# The stand-ins the mode's installer carries, loaded by a probe of their own
# machine: the x64 ones also under WOW64, where the native spooler and
# service manager load them.
VENDOR = harness.STANDINS
PROBE = os.path.join(harness.STANDIN_FLAVOUR, "tests", "wine", "standin_probe.exe")
MONITOR_KEY = "HKLM\\SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Varnek Monitor"
ENVIRONMENT = harness.FACTS.environment
STANDINS = "C:\\standins"
ERROR_ACCESS_DENIED, ERROR_ALREADY_EXISTS, ERROR_INVALID_PARAMETER, ERROR_UNKNOWN_PORT = 5, 183, 87, 1796


class StandinTest(WineTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        os.makedirs(cls.session.unix_path(STANDINS))
        for name in os.listdir(VENDOR):
            shutil.copy(os.path.join(VENDOR, name), cls.session.unix_path(STANDINS))

    def probe(self, *args):
        """Runs the probe in a process of its own; its parsed JSON output."""
        result = self.session.run(PROBE, *args, timeout=60)
        return json.loads(result.stdout.decode("utf-8"))

    def port_key_exists(self, port):
        return self.session.run("reg", "query", MONITOR_KEY + "\\Ports\\" + port, check=False).returncode == 0

    def our_ports(self):
        listing = self.probe("enumports")
        self.assertEqual(listing["ok"], 1)
        return listing["ports"]

    def test_port_monitor_through_the_spooler(self):
        # The spooler loads the monitor by name from the system folder.
        shutil.copy(os.path.join(VENDOR, "VarnekRt81.dll"), self.session.unix_path("C:\\windows\\system32"))
        self.assertEqual(self.probe("addmonitor", ENVIRONMENT)["ok"], 1)
        try:
            added = self.probe("xcv", "AddPort", "USB PORT:")
            self.assertEqual((added["ok"], added["status"]), (1, 0))
            self.assertTrue(self.port_key_exists("USB PORT:"))
            self.assertEqual(self.probe("xcv", "AddPort", "USB PORT:")["status"], ERROR_ALREADY_EXISTS)
            # Adding needs SERVER_ACCESS_ADMINISTER.
            self.assertEqual(self.probe("xcv", "AddPort", "OTHER:", "0")["status"], ERROR_ACCESS_DENIED)
            self.assertEqual(self.probe("xcv", "AddPort", "A\\B", "1")["status"], ERROR_INVALID_PARAMETER)
            self.assertEqual(self.probe("xcv", "Unknown", "USB PORT:")["status"], ERROR_INVALID_PARAMETER)
            ui = self.probe("xcv", "MonitorUI")
            self.assertEqual((ui["status"], ui["output"], ui["needed"]), (0, "VarnekRt81.dll", 30))

            # Listed by every process (the ports live in the registry), with
            # the monitor's name, description and a write port type.
            self.assertEqual(self.our_ports(),
                             [{"name": "USB PORT:", "description": "Varnek USB printer port", "type": 1}])

            # DeletePort reaches the monitor's own DeletePort under Wine.
            self.assertEqual(self.probe("deleteport", "USB PORT:")["ok"], 1)
            self.assertEqual(self.our_ports(), [])
            self.assertFalse(self.port_key_exists("USB PORT:"))
            self.assertEqual(self.probe("xcv", "DeletePort", "USB PORT:")["status"], ERROR_UNKNOWN_PORT)

            # The user-interface side, through which Windows adds and deletes.
            self.assertEqual(self.probe("portui", "add")["ok"], 1)
            self.assertEqual([p["name"] for p in self.our_ports()], ["USB PORT:"])
            self.assertEqual(self.probe("portui", "delete", "USB PORT:")["ok"], 1)
            self.assertEqual(self.our_ports(), [])
            self.assertEqual(self.probe("xcv", "AddPort", "SECOND:")["status"], 0)
            self.assertEqual(self.probe("xcv", "DeletePort", "SECOND:")["status"], 0)
        finally:
            self.assertEqual(self.probe("deletemonitor", ENVIRONMENT)["ok"], 1)

    def service_state(self):
        result = self.session.run("sc", "query", "Varnek Printer Service", check=False)
        for line in result.stdout.decode("gbk", errors="replace").splitlines():
            if "STATE" in line:
                return line.split()[-1]
        return None

    def test_service_runs_under_the_service_manager_and_stops_on_request(self):
        program = STANDINS + "\\VKPrinterService.exe"
        # Started by hand it is no service: it says so and fails.
        self.assertEqual(self.session.run(program, check=False).returncode, 1)
        self.session.run("sc", "create", "Varnek Printer Service", "binpath=", program)
        try:
            self.session.run("sc", "start", "Varnek Printer Service")
            self.assertEqual(wait_until(lambda: self.service_state() == "RUNNING", timeout=20), True)
            self.session.run("sc", "stop", "Varnek Printer Service")
            self.assertEqual(wait_until(lambda: self.service_state() == "STOPPED", timeout=20), True)
        finally:
            self.session.run("sc", "delete", "Varnek Printer Service", check=False)

    def test_inf_goes_to_the_driver_store_and_installs_on_a_device(self):
        inf = STANDINS + "\\Nelvusb.inf"
        self.assertEqual(self.probe("copyoeminf", inf)["ok"], 1)
        with open(self.session.unix_path("C:\\windows\\inf\\Nelvusb.inf"), "rb") as copy, \
                open(os.path.join(VENDOR, "Nelvusb.inf"), "rb") as source:
            self.assertEqual(copy.read(), source.read())
        # With a device of the printer's hardware ID present, the forced
        # update really installs the package.
        installed = self.probe("installdevice", inf)
        self.assertEqual((installed["attached"], installed["updated"]), (1, 1), installed)
        self.assertTrue(os.path.exists(self.session.unix_path("C:\\windows\\system32\\drivers\\Nelvusb.sys")))
        service = "HKLM\\System\\CurrentControlSet\\Services\\Nelvusb"
        self.assertEqual(self.session.reg_query(service, "Type"), ("REG_DWORD", "0x1"))
        self.assertEqual(self.session.reg_query(service, "Start"), ("REG_DWORD", "0x3"))
        self.assertEqual(self.session.reg_query(service, "ImagePath")[1].lower(),
                         "c:\\windows\\system32\\drivers\\nelvusb.sys")

    def test_driver_modules_load_and_answer_their_entry_points(self):
        modules = self.probe("modules", STANDINS)
        self.assertEqual((modules["DrvDriverEvent"], modules["DrvPrinterEvent"]), (1, 1))
        self.assertEqual((modules["DrvQueryDriverInfo"], modules["user_mode"]), (1, 1))
        self.assertEqual(modules["DrvEnableDriver"], 0)
        for plugin in ("VarnekUI.dll", "VarnekUni.dll"):
            # CLASS_E_CLASSNOTAVAILABLE, no object handed out; S_OK to unloading.
            self.assertEqual(modules[plugin], {"DllGetClassObject": -2147221231, "object_null": 1,
                                               "DllCanUnloadNow": 0})
        self.assertEqual(modules["UNIRES_string1"], "Varnek label printer driver resources (stand-in)")
        self.assertEqual((modules["InitializePrintMonitor2"], modules["InitializePrintMonitorUI"]), (1, 1))

    def test_notice_program_shows_its_notice_and_ends(self):
        process = self.session.start(self.session.unix_path(STANDINS + "\\Brevlet.exe"))
        box = Wizard(self.session, "").message_box(timeout_ms=15000, press=1)
        self.assertIsNotNone(box)
        self.assertEqual(box["caption"], "Varnek打印机")
        self.assertEqual(box["buttons"], [1])
        self.assertEqual(process.wait(30), 0)


if __name__ == "__main__":
    unittest.main()
