"""The packed installers the build produces: the 17 entries in the table's
order with the right content, after an unchanged installer image that stays
small."""
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
         "Nelvusb.sys", "UNIDRV.dll", "UNIDRV.HLP", "UNIDRVUI.dll", "Uninstaller.exe", "UNIRES.DLL"]
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


def payload_dir_of(flavour):
    """The folder the flavour took the 15 outside files from."""
    with open(os.path.join(BUILD, flavour, "CMakeCache.txt"), encoding="utf-8") as f:
        match = re.search(r"^VARNEK_PAYLOAD_DIR:\w+=(.*)$", f.read(), re.M)
    return match.group(1) if match and match.group(1) else os.path.join(BUILD, flavour, "payload", "vendor")


class PackedInstallerTest(unittest.TestCase):

    def check_flavour(self, flavour, installer, uninstaller, machine):
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
        vendor = payload_dir_of(flavour)
        for index, name in enumerate(TABLE):
            with self.subTest(flavour=flavour, name=name):
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
                else:
                    self.assertEqual(content, read(os.path.join(vendor, name)))

    def test_win64_installer_carries_its_own_stand_ins(self):
        flavour = os.path.join(BUILD, "win64")
        self.check_flavour("win64", os.path.join(flavour, "installer", "VarnekPrinterSetup.exe"),
                           os.path.join(flavour, "uninstaller", "Uninstaller.exe"), MACHINE_AMD64)
        self.assertEqual(payload_dir_of("win64"), os.path.join(flavour, "payload", "vendor"))
        for name in ("Brevlet.exe", "VKPrinterService.exe", "VarnekRt81.dll", "UNIDRVUI.dll", "UNIRES.DLL"):
            self.assertEqual(pe_machine(read(os.path.join(flavour, "payload", "vendor", name))), MACHINE_AMD64)

    def test_deliverable_installer_in_dist(self):
        self.check_flavour("win32", os.path.join(DIST, "VarnekPrinterSetup.exe"),
                           os.path.join(DIST, "Uninstaller.exe"), MACHINE_I386)
        self.assertEqual(read(os.path.join(DIST, "VarnekPrinterSetup.exe")),
                         read(os.path.join(BUILD, "win32", "installer", "VarnekPrinterSetup.exe")))


if __name__ == "__main__":
    unittest.main()
