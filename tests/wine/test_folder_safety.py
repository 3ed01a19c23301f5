"""No way up from an ordinary user, through the real programs: folders an
ordinary user may change are refused, a '/' cannot slip a link past the
checks, the uninstaller deletes nothing through a linked installation folder,
a reinstallation survives the clean-up pass of the removal before it, and the
installer started from a folder outside the ANSI code page still installs
from its own file.

Wine keeps no real DACL: it maps one onto the Unix mode bits. A folder that
"chmod o+w" made writable for all reads back with an Everyone entry of rights
0x1301ff, which is what these tests plant; the rules on real Windows ACLs
(C:\\, ProgramData, a new volume's root) are decided natively
(tests/native/folder_security_test.cpp). A Unix symbolic link is a junction
here (docs/wine-harness.md).
"""
import os
import shutil
import stat
import unittest

import harness
import sysstate
from harness import WineTestCase
from package_copies import with_flipped_data_byte
from resource_ids import INSTALLER as IDS
from test_lifecycle import INSTALLED, normalised
from test_silent_modes import changes, run_windowless, setup_log_change
from test_uninstaller import START_MENU_ENTRIES, UninstallerCase, tree, write_tree

INSTALLER = harness.program("installer/VarnekPrinterSetup.exe")
# A whole installation with the stand-in payload: 0, or 9 under Wine's
# monitor limit in the wow64 mode.
INSTALLED_OK, FOLDER_INVALID = harness.INSTALLED_CODE, 3


def writable_for_all(unix_folder):
    os.makedirs(unix_folder, exist_ok=True)
    os.chmod(unix_folder, os.stat(unix_folder).st_mode | stat.S_IWOTH)


class RefusedFolders(sysstate.ServiceCase):
    """Each refusal ends with code 3 and writes no file of the package."""

    maxDiff = None

    def refuse(self, arguments):
        """What a refused run changed, but for its log for support."""
        before = sysstate.snapshot(self.session)
        self.assertEqual((FOLDER_INVALID, False), run_windowless(self.session, INSTALLER, arguments))
        return [entry for entry in changes(self.session, before) if entry != setup_log_change(self.session)]

    def test_folders_an_ordinary_user_may_change(self):
        shared = self.session.unix_path("C:\\Shared")
        writable_for_all(shared)
        # The installation folder itself, and a new folder below one that
        # everybody may rename or delete.
        self.assertEqual([], self.refuse("/S /D=C:\\Shared"))
        self.assertEqual([], self.refuse("/S /D=C:\\Shared\\Varnek"))
        self.assertEqual([], os.listdir(shared))
        # The same folder without the write right for others is accepted:
        # the refusal is the permission's, not the folder's.
        os.chmod(shared, os.stat(shared).st_mode & ~stat.S_IWOTH)
        self.assertEqual(INSTALLED_OK, run_windowless(self.session, INSTALLER, "/S /D=C:\\Shared\\Varnek")[0])
        self.assertIn("VKPrinterService.exe", os.listdir(os.path.join(shared, "Varnek")))

    def test_a_data_folder_made_in_advance_by_a_user(self):
        data = self.session.unix_path(sysstate.DATA_FOLDER)
        writable_for_all(data)
        self.addCleanup(shutil.rmtree, data, True)
        # The data folder is settled before the installation folder is made.
        self.assertEqual([], self.refuse("/S /D=C:\\Data Test"))
        self.assertEqual([], os.listdir(data))

    def test_a_slash_does_not_skip_the_link_check(self):
        target = self.session.unix_path("C:\\Link Target")
        os.makedirs(target)
        os.symlink(target, self.session.unix_path("C:\\lnk"))
        for folder in ["C:\\lnk\\A", "C:\\lnk/B", "C:/lnk/C", "C:\\lnk/"]:
            with self.subTest(folder=folder):
                self.assertEqual([], self.refuse("/S /D=" + folder))
        self.assertEqual([], os.listdir(target))


class LinkedInstallationFolder(WineTestCase):
    """The installed folder replaced by a link to another folder: neither the
    uninstaller nor the clean-up pass at the next logon deletes anything
    there."""

    def test_nothing_is_deleted_through_the_link(self):
        folder = "C:\\Varnek Linked"
        self.assertEqual(INSTALLED_OK, run_windowless(self.session, INSTALLER, "/S /D=" + folder)[0])
        root = self.session.unix_path(folder)
        other = self.session.unix_path("C:\\Other App")
        write_tree(other, ["data.txt", "sub/more.txt"])
        # The other folder holds the uninstaller, so that the link runs it.
        shutil.copy(os.path.join(root, "Uninstaller.exe"), os.path.join(other, "Uninstaller.exe"))
        os.rename(root, self.session.unix_path("C:\\Varnek Moved"))
        os.symlink(other, root)
        expected = tree(other)
        # Run through the link, as the record and the uninstaller's own path name it.
        run_windowless(self.session, os.path.join(root, "Uninstaller.exe"), "/S")
        self.assertEqual(expected, tree(other))
        self.session.run("wineboot", "-r", timeout=120)
        self.assertTrue(harness.wait_until(lambda: sysstate.temporary_copies(self.session) == [], timeout=30))
        self.assertEqual(expected, tree(other))


class LinkedStartMenu(UninstallerCase):
    """The shell's programs folder replaced by a junction to another folder
    that holds entries of our names: the removal deletes nothing there, at
    either level. The earlier versions' fixed path, plain folders, loses its
    entries. Each deletion and each refusal has its line in the log."""

    def test_nothing_is_deleted_through_a_linked_level_above_the_menu_folder(self):
        programs = self.start_menus()[0]
        programs_unix = self.session.unix_path(programs)
        os.rename(programs_unix, programs_unix + " moved")
        elsewhere = self.session.unix_path("C:\\Elsewhere")
        for folder, shortcut in START_MENU_ENTRIES:
            write_tree(os.path.join(elsewhere, folder), [shortcut])
        os.symlink(elsewhere, programs_unix)
        fixed = self.start_menus()[1]
        for folder, shortcut in START_MENU_ENTRIES:
            write_tree(self.session.unix_path(fixed + "\\" + folder), [shortcut])
        expected = tree(elsewhere)
        root = self.install("C:\\Varnek Menu", [], record=False)
        self.addCleanup(self.remove_run_once)

        self.assertEqual(0, run_windowless(self.session, os.path.join(root, "Uninstaller.exe"), "/S")[0])

        self.assertEqual(expected, tree(elsewhere))
        self.assertEqual([], os.listdir(self.session.unix_path(fixed)))
        log = [[line[1], line[2].lower(), line[3], line[4]]
               for line in sysstate.log_lines(self.session, "Uninstaller.log")]
        for folder, shortcut in START_MENU_ENTRIES:
            linked, plain = (menu + "\\" + folder for menu in (programs, fixed))
            self.assertIn(["delete file", (linked + "\\" + shortcut).lower(), "kept, link on the way", 0], log)
            self.assertIn(["delete folder", linked.lower(), "kept, link on the way", 0], log)
            self.assertIn(["delete file", (plain + "\\" + shortcut).lower(), "ok", 0], log)
            self.assertIn(["delete folder", plain.lower(), "ok", 0], log)


class ReinstallBeforeTheNextLogon(sysstate.ServiceCase):
    """Uninstall, install again, then the next logon: the clean-up pass of the
    removal must not take the new installation."""

    maxDiff = None

    def test_the_new_installation_survives_the_next_logon(self):
        uninstaller = self.session.unix_path(sysstate.DEFAULT_FOLDER + "\\Uninstaller.exe")
        self.assertEqual(INSTALLED_OK, run_windowless(self.session, INSTALLER, "/S")[0])
        self.assertEqual(0, run_windowless(self.session, uninstaller, "/S")[0])
        self.assertIsNotNone(sysstate.product_state(self.session)["RunOnce value"], "no clean-up pass was left")
        self.assertEqual(INSTALLED_OK, run_windowless(self.session, INSTALLER, "/S")[0])
        # The installer cancelled the pass; a copy of the value put back (as
        # an older installer would have left it) is stopped by the pass itself.
        state = sysstate.product_state(self.session)
        self.assertIsNone(state["RunOnce value"])
        self.session.run("reg", "add", sysstate.RUN_ONCE_KEY, "/v", sysstate.RUN_ONCE_VALUE, "/d",
                         '"%s\\Uninstaller.exe" "%s"' % (sysstate.DEFAULT_FOLDER, sysstate.DEFAULT_FOLDER), "/f")
        self.session.run("wineboot", "-r", timeout=120)
        self.assertTrue(harness.wait_until(lambda: sysstate.product_state(self.session)["RunOnce value"] is None,
                                           timeout=30))
        after = normalised(sysstate.product_state(self.session))
        # No printer is attached here, so no INF goes to the driver store.
        for item in INSTALLED:
            if item not in ("service", "RunOnce value", "INF in the driver store"):
                self.assertEqual(INSTALLED[item], after[item], item)
        self.assertIsNotNone(after["service"])


class InstallerInAFolderOutsideTheCodePage(WineTestCase):
    """Started from "C:\\dl😀", a folder that code page 936 cannot name: the
    command line and the own file are read in UTF-16, so it installs from
    the package it was started with."""

    def test_installs_and_its_wizard_shows(self):
        folder = self.session.unix_path("C:\\dl\U0001F600")
        os.makedirs(folder)
        installer = os.path.join(folder, "VarnekPrinterSetup.exe")
        shutil.copy(INSTALLER, installer)
        result = self.session.run(installer, "/S", "/D=C:\\Emoji Test", check=False, timeout=120)
        self.assertEqual(INSTALLED_OK, result.returncode)
        self.assertEqual(sorted(INSTALLED["installation folder"]),
                         sorted(os.listdir(self.session.unix_path("C:\\Emoji Test"))))
        # Without arguments the wizard opens.
        process = self.session.start(installer)
        wizard = harness.Wizard(self.session, harness.INSTALLER_CAPTION)
        self.assertTrue(wizard.wait(), "the installer did not appear")
        wizard.close()
        self.assertTrue(wizard.gone())
        process.wait(30)


class SwappedInstallerFile(sysstate.ServiceCase):
    """The installer's file swapped for a damaged copy while its wizard runs:
    the package comes from the handle opened at its start, never from the
    path again. Wine lets the Unix side rename a file a Windows program holds
    open without FILE_SHARE_DELETE; on Windows the rename itself fails."""

    NEXT, FINISH = IDS.IDC_NEXT, IDS.IDC_CANCEL_FINISH

    def test_the_package_read_is_the_one_started(self):
        folder = self.session.unix_path("C:\\Swap")
        os.makedirs(folder)
        installer = os.path.join(folder, "VarnekPrinterSetup.exe")
        shutil.copy(INSTALLER, installer)
        process = self.session.start(installer)
        wizard = harness.Wizard(self.session, harness.INSTALLER_CAPTION)
        self.assertTrue(wizard.wait(), "the installer did not appear")
        os.rename(installer, installer + ".started")
        with open(INSTALLER, "rb") as f:
            damaged = with_flipped_data_byte(f.read(), 3)
        with open(installer, "wb") as f:
            f.write(damaged)
        wizard.click(self.NEXT)
        wizard.wait_folder_page()
        wizard.set_folder("C:\\Swap Test")
        wizard.click(self.NEXT)

        # A box for the swapped file would be the package's damage message.
        harness.check_installation_boxes(wizard.wait_installed(process))
        wizard.click(self.FINISH)
        self.assertTrue(wizard.gone())
        process.wait(30)
        self.assertEqual(sorted(INSTALLED["installation folder"]),
                         sorted(os.listdir(self.session.unix_path("C:\\Swap Test"))))


if __name__ == "__main__":
    unittest.main()
