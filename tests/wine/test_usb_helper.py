"""The 64-bit USB driver helper, started the way the 32-bit installer starts
it on 64-bit Windows (RunUsbDriverHelper through stephost): it attaches our
driver to an attached printer and reports by exit code. Wine's forced
update succeeds even for a missing INF, so a failed update is shown here only
as a helper that cannot start or refuses its command line; the store copy
that follows a failure is tested natively. In the wow64 mode stephost is
the 32-bit program the installer is; which process makes the update (the
installer itself or the helper) is also decided natively
(wow64_decisions_test.cpp)."""
import json
import os
import unittest

import harness
import sysstate
from harness import WineTestCase
from package_copies import Package

FOLDER = "C:\\Program Files\\Varnek 打印机"
HELPER = FOLDER + "\\VarnekUsb64.exe"
INF = FOLDER + "\\Nelvusb.inf"
USB_SERVICE = "Nelvusb"
ERROR_INVALID_PARAMETER = 87


def run_helper(session, helper, inf):
    out = session.run(harness.program("tests/wine/stephost.exe"), "usbhelper", helper, inf, timeout=120)
    return json.loads(out.stdout.decode())["result"]


@unittest.skipUnless(harness.ARCH == "win64", "the 64-bit helper runs only on 64-bit Windows")
class UsbDriverHelper(WineTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # The driver package and the helper as the installer carries them.
        package = Package.read(harness.program("installer/VarnekPrinterSetup.exe"))
        folder = cls.session.unix_path(FOLDER)
        os.makedirs(folder)
        for index, name in enumerate(package.names()):
            if name.startswith("Nelvusb.") or name == "VarnekUsb64.exe":
                with open(os.path.join(folder, name), "wb") as f:
                    f.write(package.content(index))

    def tearDown(self):
        sysstate.remove_devices(self.session)

    def test_attached_printer_gets_our_driver(self):
        sysstate.attach_device(self.session)
        self.assertEqual(0, run_helper(self.session, HELPER, INF))
        self.assertEqual([USB_SERVICE], [d["service"] for d in sysstate.devices(self.session)])
        self.assertTrue(os.path.isfile(self.session.unix_path("C:\\windows\\system32\\drivers\\Nelvusb.sys")))
        key = sysstate.registry(self.session, "HKLM\\System\\CurrentControlSet\\Services\\" + USB_SERVICE)
        self.assertTrue(key["exists"])

    def test_a_helper_that_cannot_start_is_a_failure(self):
        self.assertNotEqual(0, run_helper(self.session, FOLDER + "\\Absent64.exe", INF))

    def test_a_bad_command_line_changes_nothing(self):
        sysstate.attach_device(self.session)
        result = self.session.run(self.session.unix_path(HELPER), check=False)
        self.assertEqual(ERROR_INVALID_PARAMETER, result.returncode)
        self.assertNotEqual([USB_SERVICE], [d["service"] for d in sysstate.devices(self.session)])


if __name__ == "__main__":
    unittest.main()
