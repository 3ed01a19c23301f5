"""Checks of the two deliverable programs (the i686 build; dist/ holds copies
of them when built with the vendor's files) and of the 64-bit USB driver
helper that need no Wine: headers, imports, manifest, icon, the installer's
dialog template and its code page 936 texts. (Wine ignores a malformed
manifest and requireAdministrator, so they are checked here.)"""
import os
import subprocess
import sys
import unittest
import xml.etree.ElementTree as ET

from pe_file import RT_DIALOG, RT_GROUP_ICON, RT_ICON, RT_MANIFEST, PeFile, parse_dialog_ex

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "wine"))
import resource_ids  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.environ.get("VARNEK_BUILD_DIR", os.path.join(REPO, "build"))
INSTALLER = os.path.join(BUILD, "win32", "installer", "VarnekPrinterSetup.exe")
UNINSTALLER = os.path.join(BUILD, "win32", "uninstaller", "Uninstaller.exe")
USB_HELPER = os.path.join(BUILD, "win64", "usb_helper", "VarnekUsb64.exe")

# Microsoft's KnownDLLs (HKLM\System\CurrentControlSet\Control\Session Manager\KnownDLLs):
# those of Windows 7 that Windows 8 to 11 keep (they dropped iertutil, lpk, urlmon, usp10 and
# wininet). The loader maps these from the system folder whatever lies beside the program,
# so only they may be in the static import table of a program run elevated from Downloads.
# Wine has no KnownDLLs (it takes its built-in DLLs, or with "name=n,b" one beside the
# program, whatever the name), so this list is written here and the tables are checked on
# the files, not under Wine.
KNOWN_DLLS = {"advapi32.dll", "clbcatq.dll", "comdlg32.dll", "difxapi.dll", "gdi32.dll", "imagehlp.dll",
              "imm32.dll", "kernel32.dll", "msctf.dll", "msvcrt.dll", "normaliz.dll", "nsi.dll", "ole32.dll",
              "oleaut32.dll", "psapi.dll", "rpcrt4.dll", "sechost.dll", "setupapi.dll", "shell32.dll",
              "shlwapi.dll", "user32.dll", "wldap32.dll", "ws2_32.dll"}
# System DLLs outside KnownDLLs that the wizards call through an import: delay-loaded, so
# resolved only after WinMain restricted the DLL search to the system folder (comctl32
# version 6 comes from WinSxS through the manifest). newdev.dll is loaded at run time
# from the system folder (LoadSystemDll) and so appears in neither table.
DELAY_LOADED = ["comctl32.dll", "winspool.drv"]
# A test program that imports newdev.dll and WINSPOOL.DRV at load time.
STATIC_NON_KNOWN = "tests/wine/standin_probe.exe"


def load_time_imports_outside_known_dlls(pe):
    """The DLLs of the static import table that the search order could take from beside the program."""
    return sorted(set(pe.imports()) - KNOWN_DLLS)


WS_POPUP, WS_VISIBLE, WS_CAPTION, WS_SYSMENU = 0x80000000, 0x10000000, 0x00C00000, 0x00080000
WS_MINIMIZEBOX, WS_CHILD, WS_BORDER, DS_MODALFRAME, DS_SETFONT = 0x20000, 0x40000000, 0x800000, 0x80, 0x40
WS_EX_APPWINDOW, BS_DEFPUSHBUTTON, BS_TYPEMASK = 0x40000, 0x1, 0xF
BUTTON_ATOM = 0x80


class DeliverableChecks:
    path = None
    subsystem_version = None

    @classmethod
    def setUpClass(cls):
        cls.pe = PeFile(cls.path)

    def test_is_a_32bit_gui_program_for_the_right_windows(self):
        self.assertEqual(self.pe.machine, 0x14C)  # i386
        self.assertEqual(self.pe.magic, 0x10B)  # PE32
        self.assertEqual(self.pe.subsystem, 2)  # Windows GUI
        self.assertEqual(self.pe.subsystem_version, self.subsystem_version)

    def test_loads_nothing_by_the_search_order_before_its_own_code(self):
        # The shipped 32-bit program, its 64-bit flavour and (for the
        # uninstaller) the temporary copy, which is the same file.
        for path in self.flavours:
            with self.subTest(path=path):
                pe = PeFile(path)
                self.assertIn("kernel32.dll", pe.imports())
                self.assertEqual([], load_time_imports_outside_known_dlls(pe),
                                 "a DLL outside KnownDLLs is imported at load time")
                self.assertEqual(DELAY_LOADED, sorted(pe.delay_imports()))

    def test_manifest_requests_administrator_and_common_controls_6(self):
        manifest = self.pe.resource(RT_MANIFEST, 1)
        lint = subprocess.run(["xmllint", "--noout", "-"], input=manifest, capture_output=True)
        self.assertEqual(lint.returncode, 0, lint.stderr.decode())
        root = ET.fromstring(manifest)
        level = root.find(".//{urn:schemas-microsoft-com:asm.v3}requestedExecutionLevel")
        self.assertEqual(level.get("level"), "requireAdministrator")
        self.assertEqual(level.get("uiAccess"), "false")
        identity = root.find(".//{urn:schemas-microsoft-com:asm.v1}dependentAssembly/"
                             "{urn:schemas-microsoft-com:asm.v1}assemblyIdentity")
        self.assertEqual(identity.get("name"), "Microsoft.Windows.Common-Controls")
        self.assertEqual(identity.get("version"), "6.0.0.0")
        self.assertEqual(identity.get("publicKeyToken"), "6595b64144ccf1df")

    def test_icon_group_names_icons_that_exist(self):
        group = self.pe.resource(RT_GROUP_ICON, resource_ids.WIZARD.IDR_MAINFRAME)
        count = int.from_bytes(group[4:6], "little")
        self.assertGreaterEqual(count, 1)
        for i in range(count):
            icon_id = int.from_bytes(group[6 + 14 * i + 12:6 + 14 * i + 14], "little")
            self.assertTrue(self.pe.resource(RT_ICON, icon_id))


class InstallerChecks(DeliverableChecks, unittest.TestCase):
    path = INSTALLER
    flavours = [INSTALLER, os.path.join(BUILD, "win64", "installer", "VarnekPrinterSetup.exe")]
    subsystem_version = (6, 0)

    def test_the_wizard_template(self):
        ids = resource_ids.INSTALLER
        self.assertEqual(self.pe.resource_languages(RT_DIALOG, ids.IDD_INSTALL), [0x804])
        dialog = parse_dialog_ex(self.pe.resource(RT_DIALOG, ids.IDD_INSTALL))
        self.assertEqual(dialog["style"], WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX
                         | DS_MODALFRAME | DS_SETFONT)
        self.assertEqual(dialog["ex_style"], WS_EX_APPWINDOW)
        self.assertEqual(dialog["rect"], (0, 0, 333, 222))
        self.assertEqual(dialog["caption"], "Varnek打印机驱动安装程序")
        self.assertEqual(dialog["font"], (9, "MS Sans Serif"))
        expected = [
            (ids.IDC_NEXT, BUTTON_ATOM, "下一步>>", True, (214, 199, 53, 15)),
            (ids.IDC_CANCEL_FINISH, BUTTON_ATOM, "取消", True, (273, 199, 53, 15)),
            (ids.IDC_BROWSE, BUTTON_ATOM, "浏览", False, (245, 121, 46, 15)),
            (ids.IDC_PROGRESS, "msctls_progress32", "Progress1", False, (17, 122, 289, 14)),
            (ids.IDC_BACK, BUTTON_ATOM, "<<上一步", False, (154, 199, 53, 15)),
        ]
        controls = dialog["controls"]
        self.assertEqual([c["id"] for c in controls], [e[0] for e in expected])
        for control, (cid, cls, text, visible, rect) in zip(controls, expected):
            with self.subTest(id=cid):
                # windres writes class names in upper case; Windows compares them without case.
                found = control["class"]
                self.assertEqual(found.lower() if isinstance(found, str) else found, cls)
                self.assertEqual(control["text"], text)
                self.assertEqual(bool(control["style"] & WS_VISIBLE), visible)
                self.assertTrue(control["style"] & WS_CHILD)
                self.assertEqual(control["rect"], rect)
                if cls == BUTTON_ATOM:
                    # No button is the default push button.
                    self.assertNotEqual(control["style"] & BS_TYPEMASK, BS_DEFPUSHBUTTON)
        self.assertTrue(controls[3]["style"] & WS_BORDER)

    def test_narrow_texts_are_code_page_936(self):
        for text in ["安装文件夹不能为空", "安装文件夹不是有效文件夹", "正在安装打印机驱动，请稍候...", "请稍候...",
                     "选择安装文件夹"]:
            with self.subTest(text=text):
                self.assertIn(text.encode("gbk"), self.pe.data)
                self.assertNotIn(text.encode("utf-8"), self.pe.data)
        # Texts written as UTF-16 from the start: the message caption, the
        # Programs and Features name, the Start-menu shortcut's name.
        for text in ["安裝Varnek打印机驱动", "Varnek标牌打印机驱动", "卸载 Varnek打印机驱动.lnk"]:
            with self.subTest(text=text):
                self.assertIn(text.encode("utf-16-le"), self.pe.data)
                self.assertNotIn(text.encode("utf-8"), self.pe.data)

    def test_installer_image_stays_small(self):
        # The program itself, without the package appended after it. A coarse
        # bound that catches a gross regression (such as raw page pictures,
        # 170 KB); the comparison with NSIS is the peer benchmark's.
        for path in self.flavours:
            with self.subTest(path=path):
                self.assertLess(PeFile(path).image_end, 128 * 1024)


class UninstallerChecks(DeliverableChecks, unittest.TestCase):
    path = UNINSTALLER
    flavours = [UNINSTALLER, os.path.join(BUILD, "win64", "uninstaller", "Uninstaller.exe")]
    subsystem_version = (4, 0)


class UsbHelperChecks(unittest.TestCase):

    def test_is_a_64bit_program_without_a_window_or_console(self):
        pe = PeFile(USB_HELPER)
        self.assertEqual(pe.machine, 0x8664)
        self.assertEqual(pe.magic, 0x20B)  # PE32+
        self.assertEqual(pe.subsystem, 2)  # no console window flashes up

    def test_imports_only_known_dlls(self):
        # It runs elevated from the installation folder: a DLL that is not a
        # KnownDLL would be looked for there first. newdev.dll is loaded from
        # the system folder at run time.
        pe = PeFile(USB_HELPER)
        self.assertEqual(set(pe.imports()), {"kernel32.dll", "msvcrt.dll"})
        self.assertEqual([], pe.delay_imports())


class ImportCheckTest(unittest.TestCase):
    """The checks above read the import tables; here they meet a program that
    breaks the rule, so a reader that found nothing would fail."""

    def test_a_load_time_import_outside_known_dlls_is_found(self):
        for machine in ("win32", "win64"):
            with self.subTest(machine=machine):
                pe = PeFile(os.path.join(BUILD, machine, STATIC_NON_KNOWN))
                self.assertEqual(["newdev.dll", "winspool.drv"], load_time_imports_outside_known_dlls(pe))
                self.assertEqual([], pe.delay_imports())


if __name__ == "__main__":
    unittest.main()
