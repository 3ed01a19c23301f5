"""What an elevated installer run from a Downloads folder must withstand:
DLLs planted beside it and beside the uninstaller, a signature appended by
the vendor, and entries that cannot be written or packages past the bound.
Each refusal shows its message with only Cancel left, and nothing follows it."""
import os
import shutil
import subprocess
import unittest
import zlib

import harness
import sysstate
from harness import INSTALLER_CAPTION, INSTALLER_MSG_CAPTION, WineTestCase, wait_until
from package_copies import Package, with_entry_name
from resource_ids import UNINSTALLER
from test_extraction import (DATA_FOLDER, IDC_BACK, IDC_BROWSE, IDC_CANCEL_FINISH, IDC_NEXT, INSTALLER, SETTINGS,
                             InstallerRun, read)

DAMAGED = "安装文件已损坏，请联系打印机厂商"
TOO_LARGE = "安装文件过大，已停止安装，请联系打印机厂商"
WRITE_FAILED = "无法写入安装文件，请检查磁盘和安装文件夹后重新安装"
DOWNLOADS = "C:\\users\\root\\Downloads"
UNINSTALLER_CAPTION = "Varnek标牌打印机驱动卸载程序"
RESTART = UNINSTALLER.IDC_RESTART
# Every DLL the programs use that is not a KnownDLL of Windows 7 and later.
PLANTED = ["newdev.dll", "WINSPOOL.DRV", "comctl32.dll"]


class ElevatedCase(WineTestCase):

    def copy_into(self, folder, name, data):
        path = self.session.unix_path(folder + "\\" + name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def expect_refusal(self, run, message, folder):
        """The box with message, only Cancel left, and nothing written or registered."""
        box = run.wizard.message_box(timeout_ms=60000)
        self.assertIsNotNone(box, "no message box")
        self.assertEqual((box["caption"], box["text"], box["buttons"]), (INSTALLER_MSG_CAPTION, message, [1]))
        controls = run.wizard.state()["controls"]
        self.assertTrue(controls[str(IDC_CANCEL_FINISH)]["visible"] and controls[str(IDC_CANCEL_FINISH)]["enabled"])
        for control in (IDC_NEXT, IDC_BROWSE, IDC_BACK):
            c = controls[str(control)]
            self.assertFalse(c["visible"] and c["enabled"], "control %d is usable" % control)
        run.wizard.message_box(press=1)
        run.close()
        self.assertFalse(sysstate.service(self.session)["exists"], "a service was registered")
        self.assertEqual([], [p["name"] for p in sysstate.spooler(self.session)["printers"]
                              if p["driver"] == sysstate.DRIVER], "a queue was added")


class PlantedDllTest(ElevatedCase):
    """Wine prefers its built-in DLLs; "name=n,b" makes it take a DLL from the
    program's folder first, as Windows does for every DLL that is not a
    KnownDLL. KnownDLLs themselves cannot be shown under Wine: the static
    import tables are checked against Microsoft's list natively."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        names = ",".join(os.path.splitext(n)[0] if n.endswith(".dll") else n for n in PLANTED)
        cls.session.env["WINEDLLOVERRIDES"] += ";%s=n,b" % names

    def plant(self, folder):
        for name in PLANTED:
            shutil.copyfile(harness.program("tests/wine/planted_dll.dll"),
                            self.session.unix_path(folder + "\\" + name))

    def markers(self, folder):
        return sorted(n for n in os.listdir(self.session.unix_path(folder)) if n.endswith(".loaded"))

    def test_planted_dlls_are_never_loaded_and_both_programs_work(self):
        # Control: a program that loads these names by the normal search order takes the planted copies.
        control = DOWNLOADS + "\\control"
        self.copy_into(control, "load_by_name.exe", read(harness.program("tests/wine/load_by_name.exe")))
        self.plant(control)
        self.session.run(self.session.unix_path(control + "\\load_by_name.exe"), *PLANTED)
        self.assertEqual(sorted(n + ".loaded" for n in PLANTED), self.markers(control))

        installer = self.copy_into(DOWNLOADS, "VarnekPrinterSetup.exe", read(INSTALLER))
        self.plant(DOWNLOADS)
        folder = "C:\\Program Files\\Varnek Planted"
        run = InstallerRun(self.session, installer, folder)
        run.wait_finished()
        self.assertTrue(run.wizard.no_message_box(500))
        run.close()
        self.assertEqual([], self.markers(DOWNLOADS))
        self.assertIsNotNone(sysstate.by_name(sysstate.spooler(self.session)["drivers"], sysstate.DRIVER))
        if harness.FACTS.monitor_registers:
            self.assertEqual(sysstate.QUEUE, next(p["name"] for p in sysstate.spooler(self.session)["printers"]
                                                  if p["driver"] == sysstate.DRIVER))

        self.plant(folder)
        process = self.session.start(self.session.unix_path(folder + "\\Uninstaller.exe"))
        wizard = harness.Wizard(self.session, UNINSTALLER_CAPTION)
        self.assertTrue(wizard.wait(), "the uninstaller did not appear")
        wizard.click(IDC_NEXT)
        wizard.wait_finished_page()
        self.assertEqual([], self.markers(folder))
        state = sysstate.spooler(self.session)
        self.assertEqual([], [p["name"] for p in state["printers"] if p["driver"] == sysstate.DRIVER],
                         "the queue was not removed")
        self.assertIsNone(sysstate.by_name(state["drivers"], sysstate.DRIVER), "the driver was not removed")
        wizard.click(RESTART)  # no restart: the clean-up pass stays registered for the next logon
        wizard.click(IDC_CANCEL_FINISH)
        self.assertTrue(wizard.gone())
        process.wait(30)
        self.session.run("reg", "delete", sysstate.RUN_ONCE_KEY, "/v", sysstate.RUN_ONCE_VALUE, "/f", check=False)


class SignedInstallerTest(ElevatedCase):
    """Authenticode appends its certificate table after the package."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        work = cls.session.dir
        cls.key, cls.cert = os.path.join(work, "key.pem"), os.path.join(work, "cert.pem")
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", cls.key, "-out",
                        cls.cert, "-days", "2", "-subj", "/CN=Varnek test signer"], check=True, capture_output=True)
        cls.signed = os.path.join(work, "signed.exe")
        subprocess.run(["osslsigncode", "sign", "-certs", cls.cert, "-key", cls.key, "-in", INSTALLER, "-out",
                        cls.signed], check=True, capture_output=True)

    def test_signed_installer_verifies_and_installs(self):
        verify = subprocess.run(["osslsigncode", "verify", "-CAfile", self.cert, "-in", self.signed],
                                capture_output=True, text=True)
        self.assertEqual(0, verify.returncode, verify.stdout + verify.stderr)
        data = read(self.signed)
        self.assertGreater(len(data), len(read(INSTALLER)))
        installer = self.copy_into(DOWNLOADS, "signed.exe", data)
        folder = "C:\\Program Files\\Varnek Signed"
        run = InstallerRun(self.session, installer, folder)
        run.wait_finished()
        self.assertTrue(run.wizard.no_message_box(500))
        run.close()
        self.assertEqual(read(self.session.unix_path(folder + "\\Uninstaller.exe")),
                         read(harness.program("uninstaller/Uninstaller.exe")))

    def test_a_damaged_byte_inside_the_signed_file_is_refused(self):
        data = bytearray(read(self.signed))
        package = Package.read(INSTALLER)
        # The middle of the last entry's stream, which lies right before the trailer.
        data[len(read(INSTALLER)) - 8 - len(package.entries[-1][1]) // 2] ^= 0x01
        installer = self.copy_into(DOWNLOADS, "damaged-signed.exe", bytes(data))
        folder = "C:\\Program Files\\Varnek Damaged Signed"
        run = InstallerRun(self.session, installer, folder)
        self.expect_refusal(run, DAMAGED, folder)
        self.assertEqual([], os.listdir(self.session.unix_path(folder)))


class RefusalTest(ElevatedCase):

    def test_device_names_are_refused_with_nothing_written(self):
        for index, name in enumerate(["CON .txt", "NUL   .ini", "CONOUT$.log", "CONIN$"]):
            with self.subTest(name=name):
                installer = self.copy_into(DOWNLOADS, "device%d.exe" % index,
                                           with_entry_name(read(INSTALLER), 16, name))
                folder = "C:\\Program Files\\Varnek Device %d" % index
                run = InstallerRun(self.session, installer, folder)
                self.expect_refusal(run, DAMAGED, folder)
                self.assertEqual([], os.listdir(self.session.unix_path(folder)))

    def test_a_package_past_the_bound_is_refused_with_nothing_written(self):
        package = Package.read(INSTALLER)
        package.entries[0][1] = zlib.compress(bytes(257 << 20), 6)  # 257 MiB of zeros in 256 KiB
        installer = self.copy_into(DOWNLOADS, "large.exe", package.serialise())
        folder = "C:\\Program Files\\Varnek Large"
        run = InstallerRun(self.session, installer, folder)
        self.expect_refusal(run, TOO_LARGE, folder)
        self.assertEqual([], os.listdir(self.session.unix_path(folder)))
        self.assertFalse(os.path.exists(self.session.unix_path(DATA_FOLDER + "\\" + SETTINGS)))



class WriteFailureTest(ElevatedCase):
    """Its second attempt installs, so it has a prefix of its own."""

    def test_an_entry_that_cannot_be_written_stops_before_any_system_step(self):
        folder = "C:\\Program Files\\Varnek Blocked"
        blocker = self.session.unix_path(folder + "\\VKPrinterService.exe")
        os.makedirs(blocker)
        run = InstallerRun(self.session, INSTALLER, folder)
        self.expect_refusal(run, WRITE_FAILED, folder)
        # The entry before it arrived, the ones after it did not.
        self.assertEqual(["Brevlet.exe", "VKPrinterService.exe"], sorted(os.listdir(self.session.unix_path(folder))))
        self.assertTrue(os.path.isdir(blocker))

        # Once the cause is gone, a second attempt installs normally.
        os.rmdir(blocker)
        run = InstallerRun(self.session, INSTALLER, folder)
        run.wait_finished()
        self.assertTrue(run.wizard.no_message_box(500))
        run.close()
        self.assertTrue(wait_until(lambda: sysstate.service(self.session)["exists"]))
        self.assertIn("Uninstaller.exe", os.listdir(self.session.unix_path(folder)))


if __name__ == "__main__":
    unittest.main()
