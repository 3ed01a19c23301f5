"""The installer's wizard under Wine: pages and their controls, folder
validation, the data folder, and how the dialog ends."""
import os
import tempfile
import time
import unittest

import harness
import sysstate
from harness import INSTALLER_CAPTION, INSTALLER_MSG_CAPTION, WineTestCase, Wizard, wait_until
from package_copies import Package
from resource_ids import INSTALLER as IDS

NEXT, BROWSE, BACK, PROGRESS, CANCEL = (IDS.IDC_NEXT, IDS.IDC_BROWSE, IDS.IDC_BACK, IDS.IDC_PROGRESS,
                                       IDS.IDC_CANCEL_FINISH)
INVALID = "安装文件夹不是有效文件夹"


class InstallerWizard(WineTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # A second drive whose root exists, for folders built level by level.
        cls.drive_d = tempfile.mkdtemp(dir=cls.session.dir)
        os.symlink(cls.drive_d, os.path.join(cls.session.prefix, "dosdevices", "d:"))

    def setUp(self):
        self.process = self.session.start(harness.program("installer/VarnekPrinterSetup.exe"))
        self.wizard = Wizard(self.session, INSTALLER_CAPTION)
        self.assertTrue(self.wizard.wait(), "the wizard did not appear")

    def tearDown(self):
        if self.process.poll() is None:
            self.process.kill()
            self.wizard.gone()

    def controls(self):
        return self.wizard.state()["controls"]

    def assertControls(self, expected):
        """expected: {id: (visible, enabled)}"""
        controls = self.controls()
        for control_id, (visible, enabled) in expected.items():
            with self.subTest(control=control_id):
                self.assertEqual(controls[str(control_id)]["visible"], visible)
                if visible:
                    self.assertEqual(controls[str(control_id)]["enabled"], enabled)

    def to_folder_page(self):
        self.wizard.click(NEXT)
        self.wizard.wait_folder_page()

    def next_expecting_message(self, folder):
        self.wizard.set_folder(folder)
        self.wizard.click(NEXT)
        box = self.wizard.message_box(press=1)
        self.assertIsNotNone(box, "no message for %r" % folder)
        return box

    def wait_finished(self):
        """Waits for the finished page; enabling Finish is the page change's last step."""
        harness.check_installation_boxes(self.wizard.wait_installed(self.process))

    def assertEnds(self):
        self.assertEqual(self.process.wait(10), 0)

    # -- pages -----------------------------------------------------------

    def test_welcome_and_folder_pages_show_their_controls(self):
        state = self.wizard.state()
        self.assertEqual(state["window"][2:], [503, 365])
        self.assertControls({NEXT: (1, 1), CANCEL: (1, 1), BACK: (0, 0), BROWSE: (0, 0), PROGRESS: (0, 0)})
        self.assertEqual(state["controls"][str(CANCEL)]["text"], "取消")
        self.assertEqual(state["folder_box"]["visible"], 0)
        self.assertEqual(state["folder"]["text"], sysstate.DEFAULT_FOLDER)

        self.to_folder_page()
        self.assertControls({NEXT: (1, 1), CANCEL: (1, 1), BACK: (1, 1), BROWSE: (1, 1), PROGRESS: (0, 0)})
        self.assertEqual(self.wizard.state()["folder_box"]["rect"], [38, 182, 362, 204])

    def test_back_keeps_the_typed_folder_and_validates_again(self):
        self.to_folder_page()
        self.wizard.set_folder("C:\\Typed\\Folder")
        self.wizard.click(BACK)
        wait_until(lambda: not self.wizard.state()["controls"][str(BACK)]["visible"])
        self.assertControls({NEXT: (1, 1), BACK: (0, 0), BROWSE: (0, 0)})
        self.assertEqual(self.wizard.state()["folder_box"]["visible"], 0)
        self.to_folder_page()
        self.assertEqual(self.wizard.state()["folder"]["text"], "C:\\Typed\\Folder")
        self.wizard.set_folder("relative\\folder")
        self.assertEqual(self.next_expecting_message("relative\\folder")["text"], INVALID)

    # The finished page needs every step, the monitor's registration among them.
    @harness.needs_monitor
    def test_finished_page_after_the_worker_and_finish_ends_the_program(self):
        folder = sysstate.DEFAULT_FOLDER
        self.to_folder_page()
        self.wizard.click(NEXT)
        self.wait_finished()
        # The worker's posted Next reached the dialog although Next was disabled.
        self.assertControls({NEXT: (0, 0), BACK: (0, 0), BROWSE: (0, 0), PROGRESS: (0, 0), CANCEL: (1, 1)})
        self.assertTrue(os.path.isdir(self.session.unix_path(folder)))
        self.wizard.click(CANCEL)
        self.assertEnds()

    # -- folder validation -------------------------------------------------

    def test_nested_folders_are_created_from_an_existing_drive_root(self):
        self.to_folder_page()
        self.wizard.set_folder("D:\\A\\B\\C")
        self.wizard.click(NEXT)
        self.wait_finished()
        self.assertTrue(os.path.isdir(os.path.join(self.drive_d, "A", "B", "C")))

    def test_trailing_backslash_and_chinese_names_pass(self):
        self.to_folder_page()
        self.wizard.set_folder("C:\\打印 机\\驱动\\")
        self.wizard.click(NEXT)
        self.wait_finished()
        self.assertTrue(os.path.isdir(self.session.unix_path("C:\\打印 机\\驱动")))

    def test_data_folder_is_on_the_windows_drive_under_programdata(self):
        data = self.session.unix_path("C:\\ProgramData\\VarnekPrinter")
        self.to_folder_page()
        self.wizard.set_folder("D:\\Elsewhere")
        self.wizard.click(NEXT)
        self.wait_finished()
        self.assertTrue(os.path.isdir(data))
        self.assertFalse(os.path.exists(os.path.join(self.drive_d, "ProgramData")))

    def test_empty_folder_is_refused(self):
        self.to_folder_page()
        box = self.next_expecting_message("")
        self.assertEqual(box["text"], "安装文件夹不能为空")
        self.assertEqual(box["caption"], INSTALLER_MSG_CAPTION)
        self.assertEqual(box["owner"], INSTALLER_CAPTION)
        self.assertEqual(box["buttons"], [1])

    def test_invalid_folders_are_refused_and_the_page_stays(self):
        refused = [
            "relative\\folder",
            "\\\\server\\share\\folder",
            "Q:\\no\\such\\drive",
            "C:",
            "C:relative",
            "C:\\" + "x" * 253,           # 256 characters
            "C:\\a\\..\\b",
            "C:\\bad|name",
        ]
        self.to_folder_page()
        for folder in refused:
            with self.subTest(folder=folder):
                box = self.next_expecting_message(folder)
                self.assertEqual(box["text"], INVALID)
                self.assertEqual(box["caption"], INSTALLER_MSG_CAPTION)
                self.wizard.wait_folder_page()
                self.assertControls({NEXT: (1, 1), BACK: (1, 1), BROWSE: (1, 1), CANCEL: (1, 1)})
                self.assertEqual(self.wizard.state()["folder"]["text"], folder)
        self.assertFalse(os.path.exists(self.session.unix_path("C:\\b")))

    def test_system_and_shared_folders_are_refused(self):
        # Removal empties the installation folder tree: these would take user data with them.
        refused = [
            "C:\\", "D:\\", "C:\\windows", "C:\\WINDOWS\\system32\\", *harness.FACTS.program_files_folders,
            "C:\\ProgramData", "C:\\users", "C:\\users\\root", "C:\\users\\root\\Desktop",
            "C:\\users\\root\\Documents", "C:\\users\\root\\Downloads", "C:\\users\\root\\Music",
            "C:\\users\\root\\Temp", "C:\\users\\Public",
        ]
        self.to_folder_page()
        for folder in refused:
            with self.subTest(folder=folder):
                self.assertEqual(self.next_expecting_message(folder)["text"], INVALID)
        self.assertControls({NEXT: (1, 1), BACK: (1, 1), CANCEL: (1, 1)})

    def test_folders_inside_system_folders_and_too_long_ones_create_nothing(self):
        # Not "holds a system folder" but "lies inside one": these pass the
        # old rule, and removal or the installation would harm them.
        inside = [
            "C:\\windows\\Fonts\\Varnek", "C:\\windows\\system32\\drivers\\etc\\Varnek",
            "C:\\ProgramData\\Microsoft\\Varnek", "C:\\users\\Public\\Varnek",
            "C:\\users\\Default\\Varnek", "C:\\users\\OtherUser\\Varnek",
            # Both Common Files folders on 64-bit Windows; 32-bit Windows has
            # no "(x86)" folders, there that is an ordinary new folder.
            *(folder + "\\Varnek" for folder in harness.FACTS.common_files),
            "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp\\Varnek",
        ]
        # The quoted service command is the longest path the installation
        # composes: 23 characters more than the folder.
        too_long = ["D:\\" + "y" * 230, "D:\\" + "z" * 240 + "\\new"]
        self.to_folder_page()
        for folder in inside + too_long:
            with self.subTest(folder=folder):
                self.assertEqual(self.next_expecting_message(folder)["text"], INVALID)
                if folder.startswith("C:"):
                    self.assertFalse(os.path.exists(self.session.unix_path(folder)))
                else:
                    self.assertFalse(os.path.exists(os.path.join(self.drive_d, folder[3:].split("\\")[0])))
        # One character less fits; the page then moves on.
        fits = "D:\\" + "y" * 229
        self.wizard.set_folder(fits)
        self.wizard.click(NEXT)
        self.assertTrue(self.wizard.no_message_box(500))
        self.assertTrue(os.path.isdir(os.path.join(self.drive_d, "y" * 229)))
        self.wait_finished()

    def test_short_names_of_system_folders_are_refused(self):
        # Wine's short names are hashes: ask the prefix for the real one.
        script = self.session.unix_path("C:\\short.bat")
        with open(script, "w") as f:
            f.write('@for %%I in ("C:\\Program Files\\Common Files") do @echo %%~sI\r\n')
        short = self.session.run("cmd", "/c", "C:\\short.bat").stdout.decode("gbk").strip()
        self.assertNotEqual("C:\\Program Files\\Common Files", short)
        self.to_folder_page()
        for folder in (short + "\\Varnek", short.lower() + "\\New\\Varnek"):
            with self.subTest(folder=folder):
                self.assertEqual(self.next_expecting_message(folder)["text"], INVALID)
        self.assertFalse(os.path.exists(self.session.unix_path("C:\\Program Files\\Common Files\\Varnek")))
        self.assertFalse(os.path.exists(self.session.unix_path("C:\\Program Files\\Common Files\\New")))

    def test_links_are_refused_and_nothing_is_written_through_them(self):
        # Wine shows an absolute Unix symbolic link in drive_c as a folder
        # with FILE_ATTRIBUTE_REPARSE_POINT, as a junction would be.
        target = os.path.join(self.drive_d, "target")
        os.makedirs(target)
        links = {
            "C:\\Linked Folder": "C:\\Linked Folder",               # the installation folder itself
            "C:\\Linked Level": "C:\\Linked Level\\Varnek\\New",   # a level above it
        }
        for link in links:
            os.symlink(target, self.session.unix_path(link))
        self.to_folder_page()
        for folder in links.values():
            with self.subTest(folder=folder):
                self.assertEqual(self.next_expecting_message(folder)["text"], INVALID)
        self.assertEqual([], os.listdir(target))

    def test_data_folder_as_a_link_is_refused(self):
        data = self.session.unix_path("C:\\ProgramData\\VarnekPrinter")
        target = os.path.join(self.drive_d, "system-like")
        os.makedirs(target)
        if os.path.isdir(data):
            os.rmdir(data)
        os.symlink(target, data)
        try:
            self.to_folder_page()
            self.assertEqual(self.next_expecting_message("C:\\Data Link Test")["text"], INVALID)
            self.assertEqual([], os.listdir(target))
        finally:
            os.remove(data)

    # -- ending the dialog -------------------------------------------------

    def test_cancel_on_the_welcome_page_ends_at_once(self):
        self.wizard.click(CANCEL)
        self.assertEnds()

    def test_cancel_on_the_folder_page_ends_at_once(self):
        self.to_folder_page()
        self.wizard.click(CANCEL)
        self.assertEnds()

    def test_escape_and_the_close_command_end_the_dialog_outside_the_installation(self):
        self.wizard.key("escape")
        self.assertEnds()
        self.setUp()
        self.to_folder_page()
        self.wizard.close()
        self.assertEnds()


class InstallingPage(WineTestCase):
    """The installing page while the worker runs: held from outside, and at
    the port step's unowned "ERROR" box, which a payload without the port
    monitor's library brings. The dialog stays usable: the page can be looked
    at and closing tried while the worker is busy. The box is shown by the
    dialog's thread, so while it is up that thread's keys answer the box."""

    def test_closing_waits_for_the_worker(self):
        package = Package.read(harness.program("installer/VarnekPrinterSetup.exe"))
        package.entries = [e for e in package.entries if e[0] != b"VarnekRt81.dll"]
        installer = os.path.join(self.session.dir, "NoMonitorSetup.exe")
        with open(installer, "wb") as f:
            f.write(package.serialise())
        process = self.session.start(installer)
        wizard = Wizard(self.session, INSTALLER_CAPTION)
        self.assertTrue(wizard.wait())
        wizard.click(NEXT)
        wizard.wait_folder_page()
        wizard.click(NEXT)
        self.assertIsNotNone(wizard.hold(1), "the worker never moved the progress bar")
        wizard.key("escape")
        wizard.close()
        wizard.key("enter")
        time.sleep(1)
        self.assertIsNone(process.poll(), "the dialog ended under its worker")
        wizard.release()

        box = wizard.message_box(60000)
        self.assertIsNotNone(box, "the worker did not stop at the port step")
        self.assertEqual(box["caption"], "ERROR")

        controls = wizard.state()["controls"]
        for control_id, visible, enabled in [(NEXT, 1, 0), (BACK, 1, 0), (CANCEL, 1, 0), (BROWSE, 0, 0),
                                             (PROGRESS, 1, 1)]:
            with self.subTest(control=control_id):
                self.assertEqual(controls[str(control_id)]["visible"], visible)
                if visible:
                    self.assertEqual(controls[str(control_id)]["enabled"], enabled)
        self.assertEqual(controls[str(CANCEL)]["text"], "取消")
        self.assertEqual(controls[str(PROGRESS)]["pos"], 100)

        wizard.close()
        time.sleep(1)
        self.assertIsNone(process.poll(), "the dialog ended under its worker")

        wizard.message_box(press=1)
        # The run goes on to its end, then one message names every failed
        # step and the log; a failed run never shows the finished page.
        closing = wizard.message_box(60000)
        self.assertIsNotNone(closing, "no closing message")
        self.assertEqual(closing["caption"], INSTALLER_MSG_CAPTION)
        for step in ("端口监视器文件的复制", "端口监视器的注册", "打印机端口 USB PORT:", "VarnekPrinterSetup.log"):
            self.assertIn(step, closing["text"])
        wizard.message_box(press=1)
        def cancel_enabled():
            cancel = wizard.state()["controls"][str(CANCEL)]
            return cancel["text"] == "取消" and cancel["enabled"]
        self.assertTrue(wait_until(cancel_enabled, timeout=60))
        self.assertFalse(wizard.state()["controls"][str(NEXT)]["enabled"])
        wizard.key("escape")
        self.assertEqual(process.wait(10), 0)


if __name__ == "__main__":
    unittest.main()
