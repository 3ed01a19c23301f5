"""The programs on Windows whose ANSI code page ("language for non-Unicode
programs") is not 936: Western (1252), Traditional Chinese (950), Japanese
(932) and Korean (949). Their texts are code page 936 literals that must reach
Windows as the same Chinese characters, painted pages must match a Chinese
Windows' pixel for pixel in a font of the GB2312 character set, and folders
stay ANSI paths: one the ANSI code page cannot hold is refused, one it can
hold (but 936 cannot) is installed to as typed.

The pages are compared with the same pages painted in a 936 session (made
once for the module); the rest of the suite runs in 936 only.
"""
import json
import os
import unittest

import harness
import sysstate
from bmp import Bitmap
from harness import INSTALLER_CAPTION, INSTALLER_MSG_CAPTION, Wizard
from package_copies import Package
from resource_ids import INSTALLER, UNINSTALLER, WIZARD

NEXT, BROWSE, BACK, CANCEL = WIZARD.IDC_NEXT, WIZARD.IDC_BROWSE, WIZARD.IDC_BACK, WIZARD.IDC_CANCEL_FINISH
INVALID = "安装文件夹不是有效文件夹"
UNINSTALLER_CAPTION = "Varnek标牌打印机驱动卸载程序"
ABOUT_CAPTION = "关于 Varnek标牌打印机驱动卸载程序"
ABOUT_COMMAND, ABOUT_TITLE, RESTART = UNINSTALLER.IDM_ABOUTBOX, UNINSTALLER.IDC_ABOUT_TITLE, UNINSTALLER.IDC_RESTART
IDOK = 1
PAGE_HOST = "Page host"
# Every page of both programs; the installing page with the status line the
# installation shows.
PAGES = [("installer", page) for page in range(4)] + [("uninstaller", page) for page in range(3)]
STATUS = "正在安装打印机驱动，请稍候..."
# Inside the folder box's border (page window coordinates).
FOLDER_TEXT = (39, 183, 361, 203)
GB2312_CHARSET = 134

_reference_pages = {}


def capture_pages(session):
    """{(program, page): Bitmap} of the page window the page host shows."""
    pages = {}
    for program, page in PAGES:
        args = [program, str(page)] + (["--status", STATUS] if (program, page) == ("installer", 2) else [])
        process = session.start(harness.program("tests/wine/pagehost.exe"), *args)
        host = Wizard(session, PAGE_HOST)
        if not host.wait():
            raise AssertionError("the page host did not show %s" % args)
        path = os.path.join(session.dir, "%s-%d.bmp" % (program, page))
        host.capture(path, "page")
        host.close()
        if not host.gone():
            raise AssertionError("the page host did not end")
        process.wait(10)
        pages[(program, page)] = Bitmap(path)
    return pages


def reference_pages():
    """The pages as a Chinese (936) Windows paints them."""
    if not _reference_pages:
        with harness.Session("codepages-936") as session:
            _reference_pages.update(capture_pages(session))
    return _reference_pages


class CodePageChecks:
    """What every code page must show (mixed into one group per code page)."""

    # A folder whose name the group's ANSI code page cannot hold.
    foreign_folder = None

    def start_installer(self):
        process = self.session.start(harness.program("installer/VarnekPrinterSetup.exe"))
        self.addCleanup(self.session.stop_started)
        wizard = Wizard(self.session, INSTALLER_CAPTION)
        self.assertTrue(wizard.wait(), "no wizard captioned %r" % INSTALLER_CAPTION)
        return process, wizard

    def test_pages_paint_as_on_chinese_windows(self):
        reference = reference_pages()
        pages = capture_pages(self.session)
        for key in PAGES:
            with self.subTest(page=key):
                image, expected = pages[key], reference[key]
                if image.same_pixels(expected):
                    continue
                self.assertEqual((image.width, image.height), (expected.width, expected.height))
                # The folder box shows an ASCII path in "Arial", which Wine
                # (having no Arial) replaces by a face that depends on the
                # locale: measured, only the box's text moves by a pixel or
                # two. Everything else must match exactly.
                skip = FOLDER_TEXT if key == ("installer", 1) else (0, 0, 0, 0)
                differing = [(x, y) for y in range(image.height) for x in range(image.width)
                             if not (skip[0] <= x < skip[2] and skip[1] <= y < skip[3])
                             and image.pixel(x, y) != expected.pixel(x, y)]
                self.assertEqual(differing[:5], [], "%s page %d: %d pixels differ" % (key + (len(differing),)))

    def test_page_fonts_are_of_the_gb2312_character_set(self):
        # Where the ANSI code page is not 936 the page window asks for
        # GB2312_CHARSET; the font mapper must then give the same Song face as
        # on Chinese Windows, not a face of the system's own script.
        result = self.session.run(harness.program("tests/wine/font_probe.exe"),
                                  harness.program("installer/VarnekPrinterSetup.exe"), str(INSTALLER.IDD_INSTALL))
        metrics = json.loads(result.stdout.decode("utf-8"))
        song = dict(harness.FONT_SUBSTITUTES)["Ms Scanf"]
        for font in ("page_body_font", "page_heading_font"):
            with self.subTest(font=font):
                self.assertEqual((metrics[font]["family"], metrics[font]["charset"]), (song, GB2312_CHARSET))

    def test_installer_controls_and_message_box_read_as_chinese(self):
        _, wizard = self.start_installer()
        controls = wizard.state()["controls"]
        self.assertEqual(controls[str(NEXT)]["text"], "下一步>>")
        self.assertEqual(controls[str(CANCEL)]["text"], "取消")
        self.assertEqual(controls[str(BACK)]["text"], "<<上一步")
        self.assertEqual(controls[str(BROWSE)]["text"], "浏览")
        wizard.click(NEXT)
        wizard.wait_folder_page()
        self.assertEqual(wizard.state()["folder"]["text"], sysstate.DEFAULT_FOLDER)

        wizard.set_folder(self.foreign_folder)
        wizard.click(NEXT)
        box = wizard.message_box(press=1)
        self.assertIsNotNone(box, "no message for %r" % self.foreign_folder)
        self.assertEqual((box["caption"], box["text"]), (INSTALLER_MSG_CAPTION, INVALID))
        # Refused, not made under a '?' look-alike name.
        self.assertEqual(wizard.state()["folder_box"]["visible"], 1)
        self.assertFalse(os.path.exists(self.session.unix_path("C:\\" + self.foreign_folder[3:])))
        self.assertNotIn("?", "".join(os.listdir(self.session.unix_path("C:\\"))))


class Western1252(CodePageChecks, harness.WineTestCase):
    code_page = 1252
    foreign_folder = "C:\\打印机"

    def test_installation_and_removal_keep_chinese_names_and_the_typed_ansi_folder(self):
        # "é" is in 1252 but not in 936: the folder must reach the file
        # system and the registry as typed, the product's names as Chinese.
        folder = "C:\\Café Varnek"
        process, wizard = self.start_installer()
        wizard.click(NEXT)
        wizard.wait_folder_page()
        wizard.set_folder(folder)
        wizard.click(NEXT)
        harness.check_installation_boxes(wizard.wait_installed(process))
        wizard.click(CANCEL)
        self.assertEqual(process.wait(10), 0)

        self.assertTrue(os.path.isfile(os.path.join(self.session.unix_path(folder), "Uninstaller.exe")))
        product = sysstate.registry(self.session, sysstate.PRODUCT_KEY)["values"]
        self.assertEqual(product["Program Directory"]["data"], folder)
        entry = sysstate.registry(self.session, sysstate.UNINSTALL_KEY)["values"]
        self.assertEqual(entry["DisplayName"]["data"], "Varnek标牌打印机驱动")
        self.assertEqual(entry["InstallLocation"]["data"], folder)
        self.assertEqual(entry["UninstallString"]["data"], '"%s\\Uninstaller.exe"' % folder)
        menu, shortcut = sysstate.START_MENU_ENTRIES[0]
        self.assertEqual(os.listdir(os.path.join(sysstate.start_menu_folder(self.session), menu)), [shortcut])
        self.assertEqual(sysstate.service(self.session)["description"], "Varnek打印机侦测服务")

        # The installed uninstaller's wizard and about box.
        self.session.start(self.session.unix_path(folder + "\\Uninstaller.exe"))
        uninstaller = Wizard(self.session, UNINSTALLER_CAPTION)
        self.assertTrue(uninstaller.wait(), "no wizard captioned %r" % UNINSTALLER_CAPTION)
        texts = uninstaller.texts()
        self.assertEqual((texts[str(NEXT)], texts[str(CANCEL)], texts[str(RESTART)]),
                         ("下一步>>", "取消", "现在重启电脑"))
        uninstaller.syscommand(ABOUT_COMMAND)
        about = Wizard(self.session, ABOUT_CAPTION)
        self.assertTrue(about.wait(), "no about box captioned %r" % ABOUT_CAPTION)
        self.assertEqual(about.texts()[str(ABOUT_TITLE)], UNINSTALLER_CAPTION)
        about.click(IDOK)
        self.assertTrue(about.gone())

        # The removal finds the Chinese-named Start-menu entry and the entry's name.
        uninstaller.click(NEXT)
        uninstaller.wait_finished_page()
        uninstaller.click(CANCEL)
        self.assertTrue(uninstaller.gone())
        self.assertFalse(os.path.exists(os.path.join(sysstate.start_menu_folder(self.session), menu)))
        self.assertFalse(sysstate.registry(self.session, sysstate.UNINSTALL_KEY)["exists"])


class Western1252ClosingMessage(harness.WineTestCase):
    """A failed run's closing message on a 1252 Windows: its texts are 936,
    the log's path is an ANSI (1252) path. Converted as one 936 text, the
    "ë" and the separator after it would read as one Chinese character."""
    code_page = 1252

    def test_the_log_path_reads_as_written(self):
        log = "C:\\Zoë\\setup.log"
        os.makedirs(self.session.unix_path("C:\\Zoë"))
        # Without the monitor's library the monitor, and with it the port, fail.
        package = Package.read(harness.program("installer/VarnekPrinterSetup.exe"))
        package.entries = [e for e in package.entries if e[0] != b"VarnekRt81.dll"]
        installer = os.path.join(self.session.dir, "NoMonitorSetup.exe")
        with open(installer, "wb") as f:
            f.write(package.serialise())
        process = self.session.start(installer, "/LOG=" + log)
        self.addCleanup(self.session.stop_started)
        wizard = Wizard(self.session, INSTALLER_CAPTION)
        self.assertTrue(wizard.wait(), "no wizard captioned %r" % INSTALLER_CAPTION)
        wizard.click(NEXT)
        harness.wait_until(lambda: wizard.state()["folder_box"]["visible"])
        wizard.click(NEXT)
        boxes = wizard.wait_installed(process, failing=True)
        self.assertEqual([box["caption"] for box in boxes], ["ERROR", INSTALLER_MSG_CAPTION])
        closing = boxes[1]["text"]
        self.assertTrue(closing.startswith("安装未完成，以下步骤失败："), closing)
        self.assertIn("端口监视器的注册", closing)
        self.assertTrue(closing.endswith("详细信息请见安装日志：\r\n" + log), closing)
        self.assertTrue(os.path.isfile(self.session.unix_path(log)))
        wizard.click(CANCEL)
        self.assertEqual(process.wait(10), 0)


class TraditionalChinese950(CodePageChecks, harness.WineTestCase):
    code_page = 950
    # Simplified "简" is not in Big5 (which has only "簡").
    foreign_folder = "C:\\简体"


class Japanese932(CodePageChecks, harness.WineTestCase):
    code_page = 932
    # Shift JIS has "簡" but not the simplified "简".
    foreign_folder = "C:\\简体"


class Korean949(CodePageChecks, harness.WineTestCase):
    code_page = 949
    # The hanja of code page 949 are traditional forms: "簡", not "简".
    foreign_folder = "C:\\简体"


if __name__ == "__main__":
    unittest.main()
