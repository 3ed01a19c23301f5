"""The silent modes through the real programs: "VarnekPrinterSetup.exe /S
[/D=folder]" and "Uninstaller.exe /S" reach the wizards' results without any
window, and each failure ends with its own exit code and changes nothing.

No window: the programs run without an X display here, where Wine reports on
its diagnostic channel every attempt to create a window (a message box
included) and lets it fail. The wizard run the same way shows that the
check sees a window when there is one.
"""
import os
import time
import unittest

import harness
import sysstate
from package_copies import with_flipped_data_byte, without_entry
from test_lifecycle import (FOLDER, INSTALLED, WINE_SETTINGS, WINE_VIDEO, LifecycleGroup, check_removed, covers,
                            normalised, wait_for_clean_up)

INSTALLER = harness.program("installer/VarnekPrinterSetup.exe")
UNINSTALLER = FOLDER + "\\Uninstaller.exe"
NO_DRIVER = "no driver could be loaded"

# The exit codes (README.md).
BAD_COMMAND_LINE, FOLDER_EMPTY, FOLDER_INVALID, PACKAGE_DAMAGED = 1, 2, 3, 4
MONITOR_LIBRARY_FAILED = 14
# Every step of a clean first installation, in the order the log shows them.
CLEAN_STEPS = ["start", "folder", "stop service", "extract", "extract package", "product key", "start menu",
               "uninstall entry", "driver file", "monitor library", "usb driver", "monitor", "port",
               "printer driver", "queue", "printer data", "forms", "product key", "service", "end"]


def run_windowless(session, program, arguments="", timeout=120):
    """Runs a Unix-path program with that exact argument text and no X
    display; returns (exit code, whether it tried to make a window).

    Through a batch file: Wine would quote an argument with blanks, and
    "/D=" takes none. The batch file writes the exit code down: a Unix
    process's exit status keeps only its low 8 bits (3010 arrives as 194)."""
    batch = os.path.join(session.dir, "run.bat")
    code_file = os.path.join(session.dir, "exit-code.txt")
    if os.path.exists(code_file):
        os.remove(code_file)
    with open(batch, "wb") as f:
        # The redirection first: "echo 2>file" would redirect stream 2.
        line = '@"%s" %s\r\n@>"%s" echo %%ERRORLEVEL%%\r\n@exit %%ERRORLEVEL%%\r\n' % (
            windows_path(session, program), arguments, windows_path(session, code_file))
        f.write(line.encode("gbk"))
    # The session's desktop, made with the display: when it is missing, the
    # first program without a display that loads the window manager's parts
    # has Wine try to start it and reports that as a window.
    session.run("rundll32", "user32.dll,GetDesktopWindow", check=False)
    env = dict(session.env)
    env.pop("DISPLAY", None)
    env["WINEDEBUG"] = "-all,err+winediag"
    result = harness._run_wine(env, ["cmd", "/c", windows_path(session, batch)], timeout)
    with open(code_file) as f:
        code = int(f.read().strip())
    assert code & 0xFF == result.returncode, "the batch file's exit code and the process's disagree"
    return code, NO_DRIVER in result.stderr.decode(errors="replace")



def windows_path(session, unix_path):
    """The path of a Unix file: on the prefix's C: drive, else through Wine's Z: drive."""
    drive_c = os.path.join(session.prefix, "drive_c") + os.sep
    if unix_path.startswith(drive_c):
        return "C:\\" + unix_path[len(drive_c):].replace("/", "\\")
    return "Z:" + unix_path.replace("/", "\\")


def setup_log_change(session):
    """How changes() shows the installer's log for support appearing in %TEMP%."""
    return "+" + os.path.relpath(os.path.join(sysstate.temp_folder(session), "VarnekPrinterSetup.log"),
                                 os.path.join(session.prefix, "drive_c"))


def changes(session, before):
    """What the prefix gained or lost since the snapshot before, without Wine's
    own settings and display configuration (a new session writes the latter
    when it gets to it)."""
    return sorted(e for e in sysstate.residue(before, sysstate.snapshot(session))
                  if not covers(e, WINE_SETTINGS) and not covers(e, WINE_VIDEO))


class SilentLifecycle(LifecycleGroup):
    """Install and remove silently, with the printer attached: the same
    installed state and the same residue as the wizards' lifecycle."""

    done = set()

    def test_1_silent_install_leaves_the_wizards_state(self):
        # Under Wine's monitor limit the port step fails as the wizard's does.
        self.assertEqual((harness.INSTALLED_CODE, False), run_windowless(self.session, INSTALLER, "/S"))
        self.assertTrue(sysstate.wait_service_state(self.session, sysstate.RUNNING))
        state = normalised(sysstate.product_state(self.session))
        self.assertEqual(INSTALLED, state, "\n" + sysstate.describe(state))
        self.done.add(1)

        # The log of a clean run: a line for every step, none failed.
        log = sysstate.log_lines(self.session)
        steps = [line[1] for line in log]
        self.assertEqual(CLEAN_STEPS, [s for i, s in enumerate(steps) if i == 0 or steps[i - 1] != s])
        self.assertEqual(18, steps.count("extract"))
        self.assertEqual(9, steps.count("driver file"))
        failed = [line[1:] for line in log if line[4] != 0 and line[1] != "stop service"]
        if harness.FACTS.monitor_registers:
            self.assertEqual([], failed)
        else:
            # Wine's monitor limit: the monitor fails as Wine fails it, and
            # only what needs the monitor fails after it.
            self.assertEqual(["monitor", sysstate.MONITOR, "failed", harness.MONITOR_LIMIT_ERROR], failed[0])
            self.assertLessEqual({line[0] for line in failed}, {"monitor", "port", "queue", "printer data", "forms"})
        self.assertEqual(["stop service", sysstate.SERVICE, "not installed", 1060], log[2][1:])
        self.assertEqual(["service", sysstate.SERVICE, "created, started", 0], log[-2][1:])
        self.assertEqual(["end", FOLDER, "silent", harness.INSTALLED_CODE], log[-1][1:])

    def test_2_silent_uninstall_leaves_the_wizards_residue(self):
        self.after(1)
        self.assertEqual((0, False), run_windowless(self.session, self.session.unix_path(UNINSTALLER), "/S"))
        # No restart: the clean-up pass waits for the next logon.
        time.sleep(1)
        state = sysstate.product_state(self.session)
        self.assertEqual(["Uninstaller.exe"], state["installation folder"])
        self.assertEqual('"{0}" "{1}"'.format(UNINSTALLER, FOLDER), state["RunOnce value"])
        self.assertEqual([], state["Programs and Features"])
        self.assertEqual([], state["Start-menu entries"])
        self.assertIsNone(state["service"])

        self.session.run("wineboot", "-r", timeout=120)
        wait_for_clean_up(self, self.temporary_before)
        check_removed(self, self.baseline)

        # One log for the whole removal: the next logon's clean-up pass and
        # finisher add to what "/S" wrote.
        log = sysstate.log_lines(self.session, "Uninstaller.log")
        starts = [line[3] for line in log if line[1] == "start"]
        self.assertEqual(["silent", "clean-up pass", "finisher"], starts)
        self.assertIn(["remove service", sysstate.SERVICE, "ok", 0], [line[1:] for line in log])
        self.assertIn(["delete file", FOLDER + "\\Brevlet.exe", "ok", 0], [line[1:] for line in log])


class SilentFailures(sysstate.ServiceCase):
    """Each failure its exit code, with no window and nothing written."""

    maxDiff = None

    def test_the_check_sees_a_window(self):
        # The wizard cannot open without a display: Wine reports the attempt.
        # Arguments that are not ours (a file dropped on the icon, another
        # switch) leave the wizard to show.
        for arguments in ["", "/s", '"C:\\users\\my labels.txt"']:
            with self.subTest(arguments=arguments):
                code, window = run_windowless(self.session, INSTALLER, arguments)
                self.assertTrue(window)

    def test_bad_command_lines_and_folders_change_nothing(self):
        before = sysstate.snapshot(self.session)
        cases = [
            ("/S /D=", FOLDER_EMPTY),
            ("/S /D=C:\\windows", FOLDER_INVALID),           # a system folder
            ("/S /D=Program Files\\Varnek", FOLDER_INVALID),  # relative
            ("/S /D=Q:\\Varnek", FOLDER_INVALID),             # no such drive
            ("/S /X /D=C:\\windows", FOLDER_INVALID),        # another argument is ignored
            ('/S "/D=C:\\windows"', FOLDER_INVALID),          # quoted as a whole
            # The service manager would expand it (doubled for the batch file).
            ("/S /D=C:\\Var%%windir%%nek", FOLDER_INVALID),
            ("/D=C:\\Varnek", BAD_COMMAND_LINE),              # a folder, but no /S
        ]
        for arguments, code in cases:
            with self.subTest(arguments=arguments):
                self.assertEqual((code, False), run_windowless(self.session, INSTALLER, arguments))
        # Only the log for support: a refused folder is written there, a bad
        # command line names no log and leaves the last one as it was.
        self.assertEqual([setup_log_change(self.session)], changes(self.session, before))
        self.assertEqual([["start", "VarnekPrinterSetup " + sysstate.PACKAGE_VERSION, "silent", 0],
                          ["folder", "C:\\Var%windir%nek", "failed", FOLDER_INVALID]],
                         [line[1:] for line in sysstate.log_lines(self.session)])

    def test_damaged_package_writes_no_file(self):
        installer = os.path.join(self.session.dir, "DamagedSetup.exe")
        with open(INSTALLER, "rb") as f:
            data = f.read()
        with open(installer, "wb") as f:
            f.write(with_flipped_data_byte(data, 3))
        before = sysstate.snapshot(self.session)
        self.assertEqual((PACKAGE_DAMAGED, False),
                         run_windowless(self.session, installer, "/S /D=C:\\Damaged Test"))
        # As in the wizard, the folder page has made both folders and recorded
        # the new one as ours before the package is read: they stay, empty.
        self.assertEqual(["+Damaged Test", "+HKLM\\Software\\VarnekPrinter",
                          "+HKLM\\Software\\VarnekPrinter\\[Owned Folder]", "+ProgramData/VarnekPrinter"],
                         changes(self.session, before))

    @harness.needs_monitor
    def test_failed_steps_let_the_others_run_and_the_first_is_the_code(self):
        installer = os.path.join(self.session.dir, "NoMonitorSetup.exe")
        with open(INSTALLER, "rb") as f:
            data = f.read()
        with open(installer, "wb") as f:
            f.write(without_entry(data, sysstate.MONITOR_LIBRARY))
        folder = "C:\\Port Test"
        log_file = os.path.join(self.session.dir, "port test.log")
        # The wizard's "ERROR" box is no window here: the code tells it, the
        # log names each failed step.
        self.assertEqual((MONITOR_LIBRARY_FAILED, False),
                         run_windowless(self.session, installer,
                                        '/LOG="%s" /S /D=%s' % (windows_path(self.session, log_file), folder)))
        failed = [line[1:4] for line in sysstate.log_lines(self.session, unix_path=log_file) if line[3] == "failed"]
        self.assertEqual(["monitor library", "monitor", "port"], [line[0] for line in failed])
        self.assertTrue(failed[0][1].lower().endswith("\\" + sysstate.MONITOR_LIBRARY.lower()))
        state = sysstate.product_state(self.session, folder)
        self.assertIsNone(state["port"])
        self.assertEqual([{"name": sysstate.QUEUE, "port": sysstate.PORT}], state["queues"])
        self.assertIsNotNone(state["service"])
        self.assertEqual(folder, state["product key"]["Program Directory"])
        self.assertEqual(INSTALLED["Programs and Features"], state["Programs and Features"])

    def test_log_is_never_written_through_a_second_name(self):
        # A hard link in the log's place to a file elsewhere: the installer
        # would empty and overwrite that file. It runs without a log instead.
        elsewhere = self.session.unix_path("C:\\windows\\win.ini")
        with open(elsewhere, "rb") as f:
            content = f.read()
        log = os.path.join(self.session.dir, "linked.log")
        os.link(elsewhere, log)
        code, _ = run_windowless(self.session, INSTALLER,
                                 "/LOG=%s /S /D=Q:\\Varnek" % windows_path(self.session, log))
        self.assertEqual(FOLDER_INVALID, code)
        with open(elsewhere, "rb") as f:
            self.assertEqual(content, f.read())
        # The control: a plain file of one name is written.
        os.remove(log)
        self.assertEqual((FOLDER_INVALID, False),
                         run_windowless(self.session, INSTALLER,
                                        "/LOG=%s /S /D=Q:\\Varnek" % windows_path(self.session, log)))
        self.assertEqual("folder", sysstate.log_lines(self.session, unix_path=log)[-1][1])

    def test_uninstaller_switches(self):
        root = self.session.unix_path("C:\\Switch Test")
        os.makedirs(root)
        with open(os.path.join(root, "keep.txt"), "w") as f:
            f.write("keep")
        with open(harness.program("uninstaller/Uninstaller.exe"), "rb") as src, \
                open(os.path.join(root, "Uninstaller.exe"), "wb") as dst:
            dst.write(src.read())
        before = sysstate.snapshot(self.session)
        for arguments in ("/s", "/X", '/S "C:\\Switch Test"', "/S 1 2"):
            with self.subTest(arguments=arguments):
                self.assertEqual((BAD_COMMAND_LINE, False),
                                 run_windowless(self.session, os.path.join(root, "Uninstaller.exe"), arguments))
        self.assertEqual([], changes(self.session, before))


if __name__ == "__main__":
    unittest.main()
