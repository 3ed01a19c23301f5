#!/usr/bin/env python3
"""The main job: the installer in a throwaway Wine prefix, and what it did.

    python3 scripts/main_job.py [--uninstall]

With a usable X display the wizards open for the user, who clicks through
them. Without one they run under Xvfb, are driven through their pages, and a
screenshot of every page of the installer (and with --uninstall of the
uninstaller) is saved in docs/screenshots/: the real dialogs, the working
pages captured while the job holds the worker back (its threads suspended
from outside, so the progress bar stands part way), and the welcome page
once more in a session whose ANSI code page is 1252.
Afterwards the job prints what is installed: queue, driver, monitor, port,
service, registry values and files. With --uninstall the uninstaller then
removes it all again, the next logon is simulated (wineboot -r runs the
clean-up pass), and the job prints what is left.
"""
import argparse
import os
import subprocess
import sys
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, "tests", "wine"))
import harness  # noqa: E402

if not os.environ.get("VARNEK_WINE_MODE"):
    # A mode where the whole printer system shows: under WOW64 Wine cannot
    # register the x64 monitor (harness.WINE_MONITOR_LIMIT), so 32-bit Windows
    # where this machine runs 32-bit code, else the x86_64 build. The harness
    # reads the mode once, on import: start again with it chosen.
    os.environ["VARNEK_WINE_MODE"] = "win32" if harness.can_run_32bit() else "win64"
    os.execv(sys.executable, [sys.executable] + sys.argv)

import sysstate  # noqa: E402

SCREENSHOTS = os.path.join(REPO, "docs", "screenshots")
INSTALLER = harness.program("installer/VarnekPrinterSetup.exe")
UNINSTALLER_CAPTION = "Varnek标牌打印机驱动卸载程序"
NEXT, FINISH, RESTART = 1001, 1007, 1000
# The working pages are captured once their progress bar shows this much.
HOLD_AT = 1


def have_display():
    display = os.environ.get("DISPLAY")
    return bool(display) and subprocess.run(["xdpyinfo"], capture_output=True).returncode == 0


def save(session, wizard, name, part=None):
    bmp = os.path.join(session.dir, name + ".bmp")
    wizard.capture(bmp, part)
    png = os.path.join(SCREENSHOTS, name + ".png")
    # Without the date chunks the file changes only when the pixels do.
    subprocess.run(["convert", bmp, "-strip", "-define", "png:exclude-chunks=date,time", png], check=True)
    print("  screenshot " + os.path.relpath(png, REPO))


def settle():
    """Lets a page finish painting before it is captured."""
    time.sleep(0.5)


def save_working_page(session, wizard, name):
    """The installing or removing page, its worker held back while it is captured."""
    position = wizard.hold(HOLD_AT)
    if position is None:
        sys.exit("The progress bar of %s did not move." % name)
    try:
        settle()
        save(session, wizard, name)
    finally:
        wizard.release()


def wait_finished(wizard, timeout=180):
    def finished():
        button = wizard.state()["controls"][str(FINISH)]
        return button["enabled"] and button["text"] == "完成"
    while not harness.wait_until(finished, timeout=0.5):
        box = wizard.message_box(200, press=1)
        if box:
            print("  message box %r: %s" % (box["caption"], box["text"]))
        timeout -= 0.7
        if timeout < 0:
            sys.exit("The wizard did not reach its finished page.")


def western_welcome_page():
    """The installer's welcome page on a Windows whose ANSI code page is 1252
    (an English one): the same Chinese texts."""
    with harness.Session("main-job-1252", code_page=1252) as session:
        session.start(INSTALLER)
        wizard = harness.Wizard(session, harness.INSTALLER_CAPTION)
        if not wizard.wait():
            sys.exit("The installer's wizard did not appear in the code page 1252 session.")
        settle()
        save(session, wizard, "installer-0-welcome-cp1252")
        wizard.close()


def drive_installer(session):
    print("The installer's wizard, driven through its pages:")
    session.start(INSTALLER)
    wizard = harness.Wizard(session, harness.INSTALLER_CAPTION)
    if not wizard.wait():
        sys.exit("The installer's wizard did not appear.")
    settle()
    save(session, wizard, "installer-0-welcome")
    wizard.click(NEXT)
    harness.wait_until(lambda: wizard.state()["folder_box"]["visible"])
    settle()
    save(session, wizard, "installer-1-folder")
    wizard.click(NEXT)
    save_working_page(session, wizard, "installer-2-installing")
    wait_finished(wizard)
    settle()
    save(session, wizard, "installer-3-finished")
    wizard.click(FINISH)
    wizard.gone()


def drive_uninstaller(session, uninstaller):
    print("The uninstaller's wizard, driven through its pages:")
    session.start(uninstaller)
    wizard = harness.Wizard(session, UNINSTALLER_CAPTION)
    if not wizard.wait():
        sys.exit("The uninstaller's wizard did not appear.")
    settle()
    save(session, wizard, "uninstaller-0-welcome")
    wizard.click(NEXT)
    save_working_page(session, wizard, "uninstaller-1-removing")
    wait_finished(wizard)
    settle()
    save(session, wizard, "uninstaller-2-finished")
    # No restart of this machine's Wine session here: the next logon is
    # simulated below.
    wizard.click(RESTART)
    wizard.click(FINISH)
    wizard.gone()


def next_logon(session, folder):
    """What Windows does at the next logon: RunOnce starts the clean-up pass,
    which hands over to the finisher, which deletes itself after 3 s."""
    print("Next logon (wineboot -r runs the RunOnce value) ...")
    session.run("wineboot", "-r", timeout=120)
    harness.wait_until(lambda: not os.path.exists(session.unix_path(folder)), timeout=30)
    harness.wait_until(lambda: not sysstate.temporary_copies(session), timeout=30)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--uninstall", action="store_true", help="uninstall afterwards and print what is left")
    args = parser.parse_args()

    if harness.FACTS.runnable():
        sys.exit("Wine mode %s: not run (%s)" % (harness.MODE, harness.FACTS.runnable()))
    print("Wine mode: %s (%s prefix; installer %s; programs from %s)"
          % (harness.MODE, harness.ARCH, harness.INSTALLER, harness.FLAVOUR))
    if harness.MODE == "win64" and not harness.can_run_32bit():
        print("This machine cannot execute 32-bit x86 code, so the x86_64 build of the same sources\n"
              "runs in a 64-bit prefix.")
    if not harness.FACTS.monitor_registers:
        print("Under WOW64 here: %s; no monitor, port or queue, and the port step's \"ERROR\" box."
              % harness.WINE_MONITOR_LIMIT)
    print("Installer: stand-in build (tests/standins/); dist/ holds the product built from VARNEK_VENDOR_DIR.")
    interactive = have_display()
    with harness.Session("main-job", display=os.environ["DISPLAY"] if interactive else None) as session:
        print("Throwaway prefix: " + session.prefix)
        # The printer, as far as Windows can see it: a device with its hardware ID.
        sysstate.attach_device(session)
        baseline = sysstate.snapshot(session)
        if interactive:
            print("The installer's wizard is open on %s; finish or cancel it to go on." % session.display)
            session.run(INSTALLER, timeout=3600, check=False)
        else:
            os.makedirs(SCREENSHOTS, exist_ok=True)
            drive_installer(session)
        # Where the user installed to, as the installer recorded it.
        recorded = session.reg_query("HKLM\\Software\\VarnekPrinter", "Program Directory")
        folder = recorded[1] if recorded else sysstate.DEFAULT_FOLDER
        print("\nInstalled into %s:" % folder)
        print(sysstate.summary(session, folder))

        uninstaller = folder + "\\Uninstaller.exe"
        if args.uninstall:
            print()
            if interactive:
                print("The uninstaller's wizard is open; finish it to go on (clear the restart box).")
                session.run(uninstaller, timeout=3600, check=False)
            else:
                drive_uninstaller(session, uninstaller)
            next_logon(session, folder)
            print("\nLeft after the removal:")
            print(sysstate.summary(session, folder))
            print("\nWhat the prefix gained over its fresh state:")
            for entry in sorted(sysstate.residue(baseline, sysstate.snapshot(session))):
                print("  " + entry)
    if not interactive:
        print("\nThe welcome page where the ANSI code page is 1252 (an English Windows):")
        western_welcome_page()
        print("\nScreenshots of every page%s: docs/screenshots/" % ("" if args.uninstall else " of the installer"))


if __name__ == "__main__":
    main()
