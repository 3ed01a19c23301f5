"""Ownership of the installation folder, through the real programs: the
installer records whether the folder is ours, and the uninstaller (wizard,
clean-up pass, finisher) empties the whole tree only of a folder that is.

Installed into a folder the test filled first, the removal must take every
installed file and leave every foreign one, with a restart (RunOnce and the
finisher) and without one ("wineboot -r" later). Installed into a new folder,
the folder goes. Each group runs in its own prefix copy.
"""
import os
import shutil
import time
import unittest

import harness
import sysstate
from harness import WineTestCase
from package_copies import Package
from resource_ids import UNINSTALLER, WIZARD
from test_uninstaller import write_tree

INSTALLER = harness.program("installer/VarnekPrinterSetup.exe")
UNINSTALLER_CAPTION = "Varnek标牌打印机驱动卸载程序"
NEXT, FINISH, RESTART = WIZARD.IDC_NEXT, WIZARD.IDC_CANCEL_FINISH, UNINSTALLER.IDC_RESTART
PACKAGE_FILES = ["Brevlet.exe", "Nelvusb.cat", "Nelvusb.inf", "Nelvusb.sys", "Uninstaller.exe", "VKPrinterService.exe",
                 "VarnekUsb64.exe"]
# The user's files, some named like ours but not ours, one folder deep and
# one with Chinese names.
FOREIGN = ["notes.txt", "Nelvusb.txt", "sub/keep.txt", "sub/deeper/data.bin", "empty/", "资料/报告.txt"]


def tree(root):
    found = set()
    for folder, dirs, files in os.walk(root):
        for name in dirs:
            found.add(os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/") + "/")
        for name in files:
            found.add(os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/"))
    return found


class OwnershipCase(WineTestCase):
    maxDiff = None

    def install(self, folder):
        process = self.session.start(INSTALLER)
        wizard = harness.Wizard(self.session, harness.INSTALLER_CAPTION)
        self.assertTrue(wizard.wait(), "the installer did not appear")
        wizard.click(NEXT)
        wizard.wait_folder_page()
        wizard.set_folder(folder)
        wizard.click(NEXT)
        harness.check_installation_boxes(wizard.wait_installed(process))
        wizard.click(FINISH)
        self.assertTrue(wizard.gone())
        self.assertEqual(0, process.wait(30))

    def uninstall(self, folder, restart):
        process = self.session.start(folder + "\\Uninstaller.exe")
        wizard = harness.Wizard(self.session, UNINSTALLER_CAPTION)
        self.assertTrue(wizard.wait(), "the uninstaller did not appear")
        wizard.click(NEXT)
        wizard.wait_finished_page()
        if not restart:
            wizard.click(RESTART)
        wizard.click(FINISH)
        self.assertTrue(wizard.gone())
        process.wait(30)

    def wait_for_clean_up(self, unix_folder):
        """Until the finisher has deleted the installed uninstaller and the
        temporary copy is gone."""
        self.assertTrue(harness.wait_until(
            lambda: not os.path.exists(os.path.join(unix_folder, "Uninstaller.exe")), timeout=30),
            "the clean-up pass and the finisher did not run")
        self.assertTrue(harness.wait_until(lambda: sysstate.temporary_copies(self.session) == [], timeout=30),
                        "the temporary copy was not deleted")
        self.assertIsNone(self.session.reg_query(sysstate.RUN_ONCE_KEY, sysstate.RUN_ONCE_VALUE))

    def owned_folder(self):
        value = self.session.reg_query(sysstate.PRODUCT_KEY, "Owned Folder")
        return value[1] if value else None


class ForeignFilesKept(OwnershipCase):
    """A folder the user chose with files of their own: not ours."""

    FOLDER = "C:\\Label Tools"

    def test_foreign_files_survive_removal_with_and_without_restart(self):
        root = self.session.unix_path(self.FOLDER)
        write_tree(root, FOREIGN)

        # A large file of the user's, which Programs and Features must not count as ours.
        with open(os.path.join(root, "archive.bin"), "wb") as f:
            f.write(b"\0" * (1 << 20))
        foreign = tree(root)

        self.install(self.FOLDER)
        self.assertEqual(foreign | set(PACKAGE_FILES), tree(root))
        self.assertIsNone(self.owned_folder())
        package = Package.read(INSTALLER)
        installed = sum(len(package.content(i)) for i, name in enumerate(package.names())
                        if name != "VarnekSetting.ini")
        size = self.session.reg_query(sysstate.UNINSTALL_KEY, "EstimatedSize")
        self.assertEqual(("REG_DWORD", (installed + 1023) // 1024), (size[0], int(size[1], 16)))
        self.uninstall(self.FOLDER, restart=True)
        self.wait_for_clean_up(root)
        self.assertEqual(foreign, tree(root))

        # Once more, without a restart: the clean-up pass runs at the next one.
        self.install(self.FOLDER)
        self.uninstall(self.FOLDER, restart=False)
        time.sleep(1)
        self.assertTrue(os.path.exists(os.path.join(root, "Uninstaller.exe")))
        self.session.run("wineboot", "-r", timeout=120)
        self.wait_for_clean_up(root)
        self.assertEqual(foreign, tree(root))
        for entry in FOREIGN:
            if not entry.endswith("/"):
                with open(os.path.join(root, *entry.split("/"))) as f:
                    self.assertEqual(entry, f.read())


class NewFolderRemoved(OwnershipCase):
    """A folder the installation creates is ours: its whole tree goes, also
    what the programs added to it, but nothing reached through a link."""

    FOLDER = "C:\\Varnek New\\Printer"

    def test_new_folder_is_ours_and_goes_entirely(self):
        root = self.session.unix_path(self.FOLDER)
        self.install(self.FOLDER)
        self.assertEqual(self.FOLDER, self.owned_folder())
        # What the installed programs might leave in their folder.
        write_tree(root, ["logs/today.log", "cache/x/y.bin", "cache/empty/"])
        self.uninstall(self.FOLDER, restart=True)
        self.assertTrue(harness.wait_until(lambda: not os.path.exists(root), timeout=30),
                        "the folder was not removed: %s" % sorted(tree(root)))

    def test_a_link_inside_our_folder_is_not_followed(self):
        folder = "C:\\Varnek Linked\\Printer"
        root = self.session.unix_path(folder)
        self.install(folder)
        outside = self.session.unix_path("C:\\Outside")
        write_tree(outside, ["precious.txt", "inner/more.txt"])
        # Wine shows an absolute Unix link as a folder with the reparse-point
        # attribute, as Windows shows a junction.
        os.makedirs(os.path.join(root, "cache"))
        os.symlink(outside, os.path.join(root, "cache", "link"))
        self.uninstall(folder, restart=True)
        self.wait_for_clean_up(root)
        self.assertEqual({"precious.txt", "inner/", "inner/more.txt"}, tree(outside))
        # Everything else went. Wine's RemoveDirectory does not remove such a
        # link (Windows removes the junction itself), so it and its folder stay.
        self.assertEqual({"cache/", "cache/link/"}, tree(root))

    def test_empty_folder_chosen_is_ours(self):
        folder = "C:\\Chosen Empty"
        root = self.session.unix_path(folder)
        os.makedirs(root)
        self.install(folder)
        self.assertEqual(folder, self.owned_folder())
        # A second installation into a folder holding files that are not
        # ours, then one over our own installation: the record follows.
        other = self.session.unix_path("C:\\Busy")
        write_tree(other, ["mine.txt"])
        self.install("C:\\Busy")
        self.assertIsNone(self.owned_folder())
        self.install(folder)
        self.assertIsNone(self.owned_folder(), "a folder holding files is ours only if the record names it")


class FinisherForeignFolder(OwnershipCase):
    """The finisher deletes "Uninstaller.exe" only in the product key's
    "Program Directory"."""

    def test_finisher_does_nothing_in_another_folder(self):
        self.session.run("reg", "add", "HKLM\\Software\\VarnekPrinter", "/v", "Program Directory",
                         "/d", "C:\\Program Files\\VarnekPrinter", "/f")
        foreign = self.session.unix_path("C:\\Foreign App")
        write_tree(foreign, ["data.txt"])
        shutil.copy(harness.program("uninstaller/Uninstaller.exe"), os.path.join(foreign, "Uninstaller.exe"))
        copy = os.path.join(sysstate.user_profile(self.session), "Temp", "DelForeign.tmp")
        shutil.copy(harness.program("uninstaller/Uninstaller.exe"), copy)
        self.session.run(copy, "0", "C:\\Foreign App\\Uninstaller.exe", "C:\\Foreign App", timeout=20)
        self.assertEqual({"data.txt", "Uninstaller.exe"}, tree(foreign))
        self.assertTrue(os.path.exists(copy), "the copy arranged its own deletion: it acted")

    def test_a_stopped_finisher_still_deletes_its_temporary_copy(self):
        foreign = self.session.unix_path("C:\\Foreign Again")
        write_tree(foreign, ["data.txt"])
        shutil.copy(harness.program("uninstaller/Uninstaller.exe"), os.path.join(foreign, "Uninstaller.exe"))
        # A copy as the clean-up pass makes it: Uninstaller.exe in a Del*.tmp folder.
        folder = os.path.join(sysstate.user_profile(self.session), "Temp", "DelStopped.tmp")
        os.makedirs(folder)
        copy = os.path.join(folder, "Uninstaller.exe")
        shutil.copy(harness.program("uninstaller/Uninstaller.exe"), copy)
        self.session.run(copy, "0", "C:\\Foreign Again\\Uninstaller.exe", "C:\\Foreign Again", timeout=20)
        self.assertEqual({"data.txt", "Uninstaller.exe"}, tree(foreign))
        self.assertTrue(harness.wait_until(lambda: not os.path.exists(folder), timeout=20),
                        "the stopped finisher left its temporary copy")


if __name__ == "__main__":
    unittest.main()
