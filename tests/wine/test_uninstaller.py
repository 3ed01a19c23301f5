"""The uninstaller under Wine, through the real program: its wizard, the
clean-up pass that RunOnce starts, the finisher and the self-deletion.

The installer does not unpack the uninstaller in these tests: each test copies
Uninstaller.exe into a fake installation folder of its own inside the prefix.
No test leaves a RunOnce value behind: a program started from RunOnce would
run at the next Wine session of the prefix.
"""
import filecmp
import glob
import json
import os
import re
import shutil
import time
import unittest

import harness
import resource_ids

CAPTION = "Varnek标牌打印机驱动卸载程序"
ABOUT_CAPTION = "关于 Varnek标牌打印机驱动卸载程序"
RUN_ONCE = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce"
SESSION_MANAGER = "HKLM\\System\\CurrentControlSet\\Control\\Session Manager"
UNINSTALLER = harness.program("uninstaller/Uninstaller.exe")
PRODUCT_KEY = "HKLM\\Software\\VarnekPrinter"
# (folder, shortcut) under the Start menu's programs folder: the installer's
# entry and the one of earlier versions.
START_MENU_ENTRIES = [("Varnek打印机", "卸载 Varnek打印机驱动.lnk"),
                      ("Varnek标牌打印机", "卸载 Varnek标牌打印机驱动.lnk")]
# The shell's programs folder (CSIDL_PROGRAMS) in a Wine profile.
PROGRAMS = ("AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs")
IDS = resource_ids.UNINSTALLER
NEXT, BROWSE, BACK, PROGRESS, FINISH, RESTART = (IDS.IDC_NEXT, IDS.IDC_BROWSE, IDS.IDC_BACK, IDS.IDC_PROGRESS,
                                                 IDS.IDC_CANCEL_FINISH, IDS.IDC_RESTART)
ABOUT_COMMAND, ABOUT_TITLE, ABOUT_VERSION = IDS.IDM_ABOUTBOX, IDS.IDC_ABOUT_TITLE, IDS.IDC_ABOUT_VERSION
IDOK = 1
with open(os.path.join(harness.REPO, "common", "names.h")) as names:
    PACKAGE_VERSION = re.search(r'#define VARNEK_PACKAGE_VERSION "([^"]+)"', names.read()).group(1)

# A nested installation: files at several depths, an empty folder, Chinese names.
NESTED_TREE = ["Brevlet.exe", "VKPrinterService.exe", "sub1/b.txt", "sub1/sub2/c.txt", "sub1/sub2/sub3/",
               "sub4/d.txt", "数据/设置.txt"]


def write_tree(root, entries):
    """Creates files and (entries ending in '/') empty folders under root."""
    for entry in entries:
        path = os.path.join(root, *entry.rstrip("/").split("/"))
        if entry.endswith("/"):
            os.makedirs(path, exist_ok=True)
        else:
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w") as f:
                f.write(entry)


def tree(root):
    """Every file and folder under root, as relative paths with '/'."""
    found = set()
    for folder, dirs, files in os.walk(root):
        for name in dirs + files:
            found.add(os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/"))
    return found


class UninstallerCase(harness.WineTestCase):
    """Helpers shared by the groups below."""

    def install(self, folder, entries=NESTED_TREE, record=True):
        """A fake installation: the tree and Uninstaller.exe in a folder of
        the prefix, with the product key's record that names the folder as
        the program folder and as ours, as the installer writes it for a
        folder it created."""
        root = self.session.unix_path(folder)
        os.makedirs(root, exist_ok=True)
        write_tree(root, entries)
        shutil.copy(UNINSTALLER, root)
        if record:
            self.set_product_value("Program Directory", folder)
            self.set_product_value("Owned Folder", folder)
        return root

    def set_product_value(self, name, data):
        self.session.run("reg", "add", PRODUCT_KEY, "/v", name, "/d", data, "/f")

    def user_folder(self):
        """The profile folder of the prefix's user (Windows path): the one with a Start menu."""
        users = self.session.unix_path("C:\\users")
        for user in os.listdir(users):
            if os.path.isdir(os.path.join(users, user, *PROGRAMS)):
                return "C:\\users\\" + user
        raise AssertionError("no Start menu in the prefix")

    def start_menus(self):
        """The shell's programs folder, and the fixed path of earlier versions
        (made here: it exists only on Chinese Windows before 6.0)."""
        return [self.user_folder() + "\\" + "\\".join(PROGRAMS), self.user_folder() + "\\「开始」菜单\\程序"]

    def make_start_menu_entries(self):
        folders = []
        for menu in self.start_menus():
            for folder, shortcut in START_MENU_ENTRIES:
                path = self.session.unix_path(menu + "\\" + folder)
                write_tree(path, [shortcut])
                folders.append(path)
        return folders

    def temp_folder(self):
        return self.session.unix_path(self.user_folder() + "\\Temp")

    def pending_deletions(self):
        value = self.session.reg_query(SESSION_MANAGER, "PendingFileRenameOperations")
        return value[1] if value else ""

    def remove_run_once(self):
        self.session.run("reg", "delete", RUN_ONCE, "/v", "DvxUninstaller", "/f", check=False)


class WizardTest(UninstallerCase):
    """The removal wizard: pages, control states, what it removes and keeps."""

    def tearDown(self):
        # A wizard left open by a failed test would be found by the next one.
        self.session.stop_started()
        self.remove_run_once()

    def test_welcome_page_about_box_and_cancel(self):
        root = self.install("C:\\Program Files\\Varnek Welcome")
        before = tree(root)
        process = self.session.start(os.path.join(root, "Uninstaller.exe"))
        wizard = harness.Wizard(self.session, CAPTION)
        self.assertTrue(wizard.wait())

        state = wizard.state()
        controls = state["controls"]
        self.assertEqual(state["window"][2:], [503, 365])
        # Centred on the 1024 x 768 screen of the session.
        self.assertLessEqual(abs(state["window"][0] - (1024 - 503) // 2), 1)
        self.assertLessEqual(abs(state["window"][1] - (768 - 365) // 2), 1)
        self.assertEqual(state["page"], {"visible": 1, "size": [state["client"][0] - 2, state["client"][1] - 50]})
        self.assertEqual((controls[str(NEXT)]["visible"], controls[str(NEXT)]["enabled"]), (1, 1))
        self.assertEqual(controls[str(NEXT)]["text"], "下一步>>")
        self.assertEqual((controls[str(FINISH)]["visible"], controls[str(FINISH)]["enabled"]), (1, 1))
        self.assertEqual(controls[str(FINISH)]["text"], "取消")
        for hidden in (BROWSE, BACK, PROGRESS, RESTART):
            self.assertEqual(controls[str(hidden)]["visible"], 0, hidden)
        self.assertEqual(controls[str(RESTART)]["text"], "现在重启电脑")
        self.assertEqual(controls[str(RESTART)]["checked"], 0)

        # The system menu's item opens our about box.
        wizard.syscommand(ABOUT_COMMAND)
        about = harness.Wizard(self.session, ABOUT_CAPTION)
        self.assertTrue(about.wait())
        texts = about.texts()
        self.assertEqual(texts[str(ABOUT_TITLE)], CAPTION)
        self.assertEqual(texts[str(ABOUT_VERSION)], "版本 " + PACKAGE_VERSION)
        about.click(IDOK)
        self.assertTrue(about.gone())

        # Cancel on the welcome page removes nothing and does not restart.
        wizard.click(FINISH)
        self.assertTrue(wizard.gone())
        self.assertEqual(process.wait(10), 0)
        self.assertEqual(tree(root), before)
        self.assertIsNone(self.session.reg_query(RUN_ONCE, "DvxUninstaller"))

    def test_removal_keeps_closing_off_then_finishes_without_restart(self):
        folder = "C:\\Program Files\\Varnek Printer Test"
        # Enough files that the removal still runs while the test tries to close the window.
        bulk = ["bulk/d%02d/f%03d.txt" % (d, f) for d in range(80) for f in range(100)]
        root = self.install(folder, NESTED_TREE + bulk)
        # A folder link inside the installation leads outside it: its target stays.
        target = self.session.unix_path("C:\\Link Target")
        write_tree(target, ["keep.txt"])
        os.symlink(target, os.path.join(root, "link"))
        sibling = self.session.unix_path("C:\\Program Files\\Varnek Printer Test2")
        write_tree(sibling, ["keep.txt"])
        menu_folders = self.make_start_menu_entries()
        data = self.session.unix_path("C:\\ProgramData\\VarnekPrinter")
        write_tree(data, ["VarnekSetting.ini"])

        process = self.session.start(os.path.join(root, "Uninstaller.exe"))
        wizard = harness.Wizard(self.session, CAPTION)
        self.assertTrue(wizard.wait())
        wizard.click(NEXT)

        controls = wizard.state()["controls"]
        self.assertEqual(controls[str(FINISH)]["text"], "取消")
        for disabled in (NEXT, BACK, FINISH):
            self.assertEqual(controls[str(disabled)]["enabled"], 0, disabled)
        self.assertEqual((controls[str(NEXT)]["visible"], controls[str(FINISH)]["visible"]), (1, 1))
        self.assertEqual((controls[str(BROWSE)]["visible"], controls[str(BACK)]["visible"]), (0, 0))
        self.assertEqual(controls[str(PROGRESS)]["visible"], 1)
        self.assertLess(controls[str(PROGRESS)]["pos"], 100)

        # Escape, the caption's close command and Enter wait for the worker.
        wizard.key("escape")
        wizard.close()
        wizard.key("enter")
        controls = wizard.state()["controls"]
        self.assertEqual(controls[str(FINISH)]["enabled"], 0,
                         "the removal ended before the close attempts: the test proves nothing")

        controls = wizard.wait_finished_page()["controls"]
        self.assertEqual((controls[str(RESTART)]["visible"], controls[str(RESTART)]["checked"]), (1, 1))
        self.assertEqual((controls[str(NEXT)]["visible"], controls[str(BACK)]["visible"]), (0, 0))
        self.assertEqual((controls[str(FINISH)]["visible"], controls[str(FINISH)]["enabled"]), (1, 1))
        self.assertEqual(controls[str(PROGRESS)]["visible"], 0)
        self.assertEqual(controls[str(PROGRESS)]["pos"], 100)

        # All but the running executable is gone. Wine cannot remove a folder
        # link with RemoveDirectory (Windows removes a junction so), so it may stay.
        self.assertIn("Uninstaller.exe", os.listdir(root))
        self.assertLessEqual(set(os.listdir(root)), {"Uninstaller.exe", "link"})
        self.assertEqual(os.listdir(target), ["keep.txt"])
        self.assertEqual(os.listdir(sibling), ["keep.txt"])
        for menu_folder in menu_folders:
            self.assertFalse(os.path.exists(menu_folder), menu_folder)
        self.assertFalse(os.path.exists(data))
        self.assertEqual(self.session.reg_query(RUN_ONCE, "DvxUninstaller"),
                         ("REG_SZ", '"%s\\Uninstaller.exe" "%s"' % (folder, folder)))

        # Finish with the box cleared: no restart, so RunOnce has not run yet.
        wizard.click(RESTART)
        self.assertEqual(wizard.state()["controls"][str(RESTART)]["checked"], 0)
        wizard.click(FINISH)
        self.assertTrue(wizard.gone())
        self.assertEqual(process.wait(10), 0)
        self.assertIsNotNone(self.session.reg_query(RUN_ONCE, "DvxUninstaller"))
        self.assertTrue(os.path.exists(os.path.join(root, "Uninstaller.exe")))


class RestartTest(UninstallerCase):
    """Finish with the restart box ticked. Wine restarts nothing:
    ExitWindowsEx ends the session, and wineboot runs the RunOnce value,
    which is the observable effect here."""

    def tearDown(self):
        self.remove_run_once()

    def test_finish_restarts_and_the_clean_up_pass_removes_the_rest(self):
        root = self.install("C:\\Program Files\\Varnek Restart")
        data = self.session.unix_path("C:\\ProgramData\\VarnekPrinter")
        # Not ours: the data folder stays for it.
        write_tree(data, ["VarnekSetting.ini", "user notes.txt"])
        temp_before = set(glob.glob(os.path.join(self.temp_folder(), "Del*.tmp")))

        process = self.session.start(os.path.join(root, "Uninstaller.exe"))
        wizard = harness.Wizard(self.session, CAPTION)
        self.assertTrue(wizard.wait())
        wizard.click(NEXT)
        wizard.wait_finished_page()
        wizard.click(FINISH)
        self.assertTrue(wizard.gone())
        process.wait(20)

        self.assertTrue(harness.wait_until(lambda: not os.path.exists(root), timeout=20),
                        "the clean-up pass and the finisher did not remove the installation folder")
        self.assertIsNone(self.session.reg_query(RUN_ONCE, "DvxUninstaller"))
        self.assertTrue(harness.wait_until(
            lambda: set(glob.glob(os.path.join(self.temp_folder(), "Del*.tmp"))) <= temp_before, timeout=15),
            "the temporary copy was not deleted")
        self.assertEqual(os.listdir(data), ["user notes.txt"])


class SilentModesTest(UninstallerCase):
    """The clean-up pass and the finisher, run by hand with Wine's cmd."""

    def temporary_copy(self, name):
        """A copy of the uninstaller in the temporary folder, as the clean-up pass makes it."""
        path = os.path.join(self.temp_folder(), name)
        shutil.copy(UNINSTALLER, path)
        return path

    def test_folder_tree_is_listed_in_pre_order(self):
        root = self.session.unix_path("C:\\Listing")
        write_tree(root, ["a.txt", "b/", "b/c.txt", "b/d/e.txt", "b/d/f/", "b/g.txt", "h/i/j.txt", "中文/文件.txt",
                          "z.txt"])
        result = self.session.run(harness.program("tests/wine/removal_probe.exe"), "list", "C:\\Listing")
        lists = json.loads(result.stdout.decode("utf-8"))
        prefix = "C:\\Listing\\"
        files = [p[len(prefix):].replace("\\", "/") for p in lists["files"]]
        folders = [p[len(prefix):].replace("\\", "/") for p in lists["folders"]]
        self.assertEqual(sorted(files), sorted(p for p in tree(root) if os.path.isfile(os.path.join(root, p))))
        self.assertEqual(sorted(folders), sorted(p for p in tree(root) if os.path.isdir(os.path.join(root, p))))
        # Pre-order: each folder comes right before everything inside it, so
        # removing in reverse order takes inner folders first.
        for i, folder in enumerate(folders):
            inside = [j for j, other in enumerate(folders) if other.startswith(folder + "/")]
            self.assertEqual(inside, list(range(i + 1, i + 1 + len(inside))), folder)
        # Depth first: the files of a folder's subtree are listed together.
        for folder in folders:
            inside = [j for j, f in enumerate(files) if f.startswith(folder + "/")]
            if inside:
                self.assertEqual(inside, list(range(inside[0], inside[0] + len(inside))), folder)

    def test_finisher_waits_for_the_process_then_deletes(self):
        folder = "C:\\Program Files\\Varnek Wait"
        # As the clean-up pass leaves it: only the executable.
        root = self.install(folder, [])
        # The process to wait for: another uninstaller's welcome page.
        waiter_root = self.install("C:\\Waiter", [], record=False)
        waiter = self.session.start(os.path.join(waiter_root, "Uninstaller.exe"))
        wizard = harness.Wizard(self.session, CAPTION)
        self.assertTrue(wizard.wait())
        pid = wizard.state()["pid"]

        copy = self.temporary_copy("DelWait.tmp")
        # With an inherited handle to that process, as the clean-up pass
        # hands its own to the finisher.
        finisher = self.session.start(harness.program("tests/wine/start_inheriting.exe"), str(pid),
                                      "C:\\" + os.path.relpath(copy, os.path.join(self.session.prefix, "drive_c")),
                                      "%h", folder + "\\Uninstaller.exe", folder)
        time.sleep(1.5)
        self.assertIsNone(finisher.poll(), "the finisher did not wait")
        self.assertTrue(os.path.exists(os.path.join(root, "Uninstaller.exe")))

        wizard.click(FINISH)
        waiter.wait(10)
        self.assertEqual(finisher.wait(10), 0)
        self.assertFalse(os.path.exists(root))
        self.assertTrue(harness.wait_until(lambda: not os.path.exists(copy), timeout=10),
                        "the temporary copy was not deleted")

    def test_finisher_with_a_dead_process(self):
        folder = "C:\\Program Files\\Varnek Dead"
        root = self.install(folder, [])
        copy = self.temporary_copy("DelDead.tmp")
        # No handle has this number (Wine's handles are small multiples of 4).
        self.session.run(copy, "999996", folder + "\\Uninstaller.exe", folder, timeout=20)
        self.assertFalse(os.path.exists(root))
        # Marked for the next restart in case the interpreter fails.
        self.assertIn("\\??\\%s\\Temp\\DelDead.tmp" % self.user_folder(), self.pending_deletions())
        self.assertTrue(harness.wait_until(lambda: not os.path.exists(copy), timeout=10),
                        "the temporary copy was not deleted")

    def test_finisher_refuses_what_is_not_the_installed_uninstaller(self):
        foreign = self.session.unix_path("C:\\Foreign")
        write_tree(foreign, ["Other.exe", "Uninstaller.exe"])
        empty = self.session.unix_path("C:\\Empty Folder")
        os.makedirs(empty)
        cases = [
            ("DelF1.tmp", ["0", "C:\\Foreign\\Other.exe", "C:\\Foreign"]),      # not the uninstaller
            ("DelF2.tmp", ["0", "C:\\Foreign\\Uninstaller.exe", "C:\\Empty Folder"]),  # not in that folder
            ("DelF3.tmp", ["0", "C:\\Foreign\\Uninstaller.exe"]),               # no folder given
        ]
        for name, arguments in cases:
            with self.subTest(arguments=arguments):
                copy = self.temporary_copy(name)
                self.session.run(copy, *arguments, timeout=20)
                self.assertEqual(sorted(os.listdir(foreign)), ["Other.exe", "Uninstaller.exe"])
                self.assertTrue(os.path.isdir(empty))
                # Nothing done at all: the copy did not arrange its own deletion.
                self.assertNotIn(name, self.pending_deletions())
                self.assertTrue(os.path.exists(copy))
        # The same kind of copy with the right arguments does act, once the
        # product key names the folder.
        self.set_product_value("Program Directory", "C:\\Foreign")
        self.session.run(self.temporary_copy("DelF4.tmp"), "0", "C:\\Foreign\\Uninstaller.exe", "C:\\Foreign",
                         timeout=20)
        self.assertEqual(os.listdir(foreign), ["Other.exe"])

    def test_clean_up_pass_ignores_a_foreign_folder(self):
        root = self.install("C:\\Program Files\\Varnek Own")
        other = self.session.unix_path("C:\\Program Files\\Someone Else")
        write_tree(other, NESTED_TREE)
        own_before, other_before = tree(root), tree(other)
        copies_before = set(glob.glob(os.path.join(self.temp_folder(), "Del*.tmp")))
        for argument in ("C:\\Program Files\\Someone Else", "C:\\Program Files", "C:\\Program Files\\Varnek Own\\sub1",
                         "relative"):
            with self.subTest(argument=argument):
                self.session.run(os.path.join(root, "Uninstaller.exe"), argument, timeout=20)
                self.assertEqual(tree(root), own_before)
                self.assertEqual(tree(other), other_before)
                self.assertEqual(set(glob.glob(os.path.join(self.temp_folder(), "Del*.tmp"))) - copies_before, set())
        # The folder it runs from is cleaned up.
        self.session.run(os.path.join(root, "Uninstaller.exe"), "c:/program files/varnek own/", timeout=20)
        self.assertTrue(harness.wait_until(lambda: not os.path.exists(root), timeout=10))
        self.assertEqual(tree(other), other_before)

    def test_clean_up_pass_in_a_shared_folder_or_drive_root_deletes_only_product_files(self):
        for folder in ("C:\\ProgramData", "C:\\"):
            with self.subTest(folder=folder):
                root = self.session.unix_path(folder)
                write_tree(root, ["user.txt", "user folder/file.txt"])
                before = set(os.listdir(root))
                self.install(folder, ["Brevlet.exe", "VKPrinterService.exe", "Nelvusb.inf"])
                self.session.run(os.path.join(root, "Uninstaller.exe"), folder, timeout=20)
                # The finisher deletes the executable once the pass has ended.
                self.assertTrue(harness.wait_until(lambda: not os.path.exists(os.path.join(root, "Uninstaller.exe")),
                                                   timeout=10))
                self.assertEqual(set(os.listdir(root)), before)
                self.assertEqual(tree(os.path.join(root, "user folder")), {"file.txt"})


class SelfDeletionRecordTest(UninstallerCase):
    """The clean-up pass hands over to its temporary copy, whose exact
    self-deletion command line a stand-in cmd.exe records (Wine's cmd has no
    working choice command, so the 3-second wait cannot be seen there). The
    temporary folder's path holds a blank."""

    TEMP = "C:\\users\\Temp Folder"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        session = cls.session
        for name in ("TEMP", "TMP"):
            session.run("reg", "add", "HKCU\\Environment", "/v", name, "/d", cls.TEMP, "/f")
        os.makedirs(session.unix_path(cls.TEMP))
        # Where the uninstaller's "C:\\WINDOWS\\system32\\Cmd.exe" leads: SysWOW64 under WOW64.
        shutil.copy(harness.program("tests/wine/cmd_recorder.exe"),
                    session.unix_path(harness.FACTS.programs_system_dir + "\\cmd.exe"))
        # The built-in cmd would win over the file otherwise.
        session.env["WINEDLLOVERRIDES"] += ";cmd.exe=n"

    def test_clean_up_pass_hands_over_to_the_temporary_copy(self):
        folder = "C:\\Program Files\\Varnek Record"
        root = self.install(folder)
        log = self.session.unix_path("C:\\cmd-recorder.log")
        self.session.run(os.path.join(root, "Uninstaller.exe"), folder, timeout=20)

        self.assertTrue(harness.wait_until(lambda: os.path.exists(log), timeout=10), "no interpreter was started")
        with open(log, encoding="utf-8") as f:
            lines = f.read().splitlines()
        self.assertEqual(len(lines), 2, lines)
        # No AutoRun, the delay command by its full path, the copy's private folder removed after it.
        match = re.fullmatch(r'"C:\\windows\\system32\\cmd\.exe" /D /S /C ""C:\\windows\\system32\\choice\.exe" '
                             r'/C Y /N /D Y /T 3 & Del "((C:\\users\\Temp Folder\\Del[0-9A-Fa-f]{1,4}\.tmp)'
                             r'\\Uninstaller\.exe)" & Rd "(C:\\users\\Temp Folder\\Del[0-9A-Fa-f]{1,4}\.tmp)""',
                             lines[0])
        self.assertIsNotNone(match, lines[0])
        self.assertEqual(match.group(2), match.group(3))
        # The interpreter runs in the system folder, not in the temporary one.
        self.assertEqual("C:\\windows\\system32", lines[1].rstrip("\\"))
        # The finisher ran from the copy: it removed the emptied folder with
        # the executable, then asked for its own deletion and its folder's.
        self.assertFalse(os.path.exists(root))
        copy = self.session.unix_path(match.group(1))
        self.assertTrue(filecmp.cmp(copy, UNINSTALLER, shallow=False))
        self.assertIn("\\??\\" + match.group(1), self.pending_deletions())
        self.assertIn("\\??\\" + match.group(2), self.pending_deletions())

if __name__ == "__main__":
    unittest.main()
