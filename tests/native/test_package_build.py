"""The packed installers the build produces: the 18 entries in the table's
order with the right content, after an unchanged installer image that stays
small; dist/ only from the vendor's files."""
import os
import re
import struct
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "wine"))
from package_copies import Package  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("VARNEK_BUILD_DIR", os.path.join(REPO, "build"))
DIST = os.environ.get("VARNEK_DIST_DIR", os.path.join(REPO, "dist"))

TABLE = ["Brevlet.exe", "VKPrinterService.exe", "STDNAMES.GPD", "VarnekPrinter.gpd", "VarnekSetting.ini",
         "VarnekRt81.dll", "VarnekUI.dll", "VarnekUI.ini", "VarnekUni.dll", "Nelvusb.cat", "Nelvusb.inf",
         "Nelvusb.sys", "UNIDRV.dll", "UNIDRV.HLP", "UNIDRVUI.dll", "Uninstaller.exe", "UNIRES.DLL",
         "VarnekUsb64.exe"]
# The modules the spooler and the service manager load: built for the flavour's machine.
MODULES = ("Brevlet.exe", "VKPrinterService.exe", "VarnekRt81.dll", "VarnekUI.dll", "VarnekUni.dll", "UNIDRV.dll",
           "UNIDRVUI.dll", "UNIRES.DLL")
HELPER = os.path.join(BUILD, "win64", "usb_helper", "VarnekUsb64.exe")
SETTINGS = (b"[Print Settings]\r\nMaterialType=0\r\nDensity=3\r\nPaperType=0\r\nCutType=0\r\nOffsetX=0\r\n"
            b"OffsetY=0\r\nThreshold=242")
PLUGIN_LIST = b"[OEMFiles]\r\nOEMDriverFile1=VarnekUni.dll\r\nOEMConfigFile1=VarnekUI.dll\r\n"
MACHINE_I386, MACHINE_AMD64 = 0x14C, 0x8664


def read(path):
    with open(path, "rb") as f:
        return f.read()


def pe_machine(data):
    (pe_offset,) = struct.unpack("<I", data[0x3C:0x40])
    assert data[pe_offset:pe_offset + 4] == b"PE\0\0"
    return struct.unpack("<H", data[pe_offset + 4:pe_offset + 6])[0]


def vendor_dir():
    """VARNEK_VENDOR_DIR of the top-level build, or None."""
    with open(os.path.join(BUILD, "CMakeCache.txt"), encoding="utf-8") as f:
        match = re.search(r"^VARNEK_VENDOR_DIR:\w+=(.*)$", f.read(), re.M)
    return match.group(1) if match and match.group(1) else None


class PackedInstallerTest(unittest.TestCase):

    def check_package(self, flavour, installer, uninstaller, machine, vendor):
        package = Package.read(installer)
        self.assertEqual(package.names(), TABLE)
        self.assertEqual(package.version, b"1.3.0.30")
        image = read(os.path.join(BUILD, flavour, "installer", "VarnekPrinterSetup.image.exe"))
        # Up to 7 zeros between them make the file a multiple of 8 bytes, so a
        # signature's certificate table follows the trailer directly.
        padding = len(package.image) - len(image)
        self.assertEqual(package.image, image + bytes(padding), "the package must follow the unchanged image")
        self.assertLess(padding, 8)
        self.assertEqual(os.path.getsize(installer) % 8, 0)
        self.assertEqual(pe_machine(image), machine)
        self.assertLess(len(image), 300 * 1024)
        for index, name in enumerate(TABLE):
            with self.subTest(installer=installer, name=name):
                stream = package.entries[index][1]
                self.assertEqual(stream[:2], b"\x78\x9c")  # zlib's default level
                content = package.content(index)
                if name == "VarnekSetting.ini":
                    self.assertEqual(content, SETTINGS)
                elif name == "VarnekUI.ini":
                    self.assertEqual(content, PLUGIN_LIST)
                elif name == "Uninstaller.exe":
                    self.assertEqual(content, read(uninstaller))
                    self.assertEqual(pe_machine(content), machine)
                elif name == "VarnekUsb64.exe":
                    self.assertEqual(content, read(HELPER))
                    self.assertEqual(pe_machine(content), MACHINE_AMD64)
                else:
                    self.assertEqual(content, read(os.path.join(vendor, name)))

    def check_stand_in_installer(self, flavour, machine):
        folder = os.path.join(BUILD, flavour)
        stand_ins = os.path.join(folder, "payload", "vendor")
        self.check_package(flavour, os.path.join(folder, "installer", "VarnekPrinterSetup.exe"),
                           os.path.join(folder, "uninstaller", "Uninstaller.exe"), machine, stand_ins)
        for name in MODULES:
            with self.subTest(flavour=flavour, module=name):
                self.assertEqual(pe_machine(read(os.path.join(stand_ins, name))), machine)

    def test_win64_installer_carries_x64_stand_ins(self):
        self.check_stand_in_installer("win64", MACHINE_AMD64)

    def test_win32_installer_carries_i386_stand_ins(self):
        # The one a 32-bit Wine prefix runs: 32-bit modules for a 32-bit spooler.
        self.check_stand_in_installer("win32", MACHINE_I386)

    def test_wow64_installer_carries_x64_stand_ins_behind_the_i686_image(self):
        # The shipped configuration with stand-ins, for the wow64 Wine mode.
        installer = os.path.join(BUILD, "win32", "installer-wow64", "VarnekPrinterSetup.exe")
        self.check_package("win32", installer, os.path.join(BUILD, "win32", "uninstaller", "Uninstaller.exe"),
                           MACHINE_I386, os.path.join(BUILD, "win64", "payload", "vendor"))
        package = Package.read(installer)
        for name in MODULES:
            with self.subTest(module=name):
                self.assertEqual(pe_machine(package.content(TABLE.index(name))), MACHINE_AMD64)

    def test_usb_helper_is_small(self):
        data = read(HELPER)
        self.assertEqual(pe_machine(data), MACHINE_AMD64)
        self.assertLess(len(data), 32 * 1024)

    def test_dist_holds_only_the_product(self):
        vendor = vendor_dir()
        product = os.path.join(BUILD, "win32", "product", "VarnekPrinterSetup.exe")
        if vendor is None:
            # No stand-in may look like the product: no dist/ at all.
            for name in ("VarnekPrinterSetup.exe", "Uninstaller.exe"):
                self.assertFalse(os.path.exists(os.path.join(DIST, name)), name)
            self.assertFalse(os.path.exists(product))
            return
        uninstaller = os.path.join(BUILD, "win32", "uninstaller", "Uninstaller.exe")
        self.check_package("win32", product, uninstaller, MACHINE_I386, vendor)
        self.assertEqual(read(os.path.join(DIST, "VarnekPrinterSetup.exe")), read(product))
        self.assertEqual(read(os.path.join(DIST, "Uninstaller.exe")), read(uninstaller))


if __name__ == "__main__":
    unittest.main()
