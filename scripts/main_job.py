#!/usr/bin/env python3
"""The main job: runs the installer in a throwaway Wine prefix.

With a usable X display the wizard opens for the user, who clicks through it.
Without one it runs under Xvfb, is driven through its pages, and a screenshot
of every page is saved in docs/screenshots/.
"""
import os
import subprocess
import sys
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, "tests", "wine"))
import harness  # noqa: E402

SCREENSHOTS = os.path.join(REPO, "docs", "screenshots")


def have_display():
    display = os.environ.get("DISPLAY")
    return bool(display) and subprocess.run(["xdpyinfo"], capture_output=True).returncode == 0


def save_page(wizard, name):
    bmp = os.path.join(wizard.session.dir, name + ".bmp")
    wizard.capture(bmp)
    png = os.path.join(SCREENSHOTS, name + ".png")
    subprocess.run(["convert", bmp, png], check=True)
    print("  screenshot: " + os.path.relpath(png, REPO))


def drive_installer(session):
    installer = harness.program("installer/VarnekPrinterSetup.exe")
    session.start(installer)
    wizard = harness.Wizard(session, harness.INSTALLER_CAPTION)
    if not wizard.wait():
        sys.exit("The installer's wizard did not appear.")
    os.makedirs(SCREENSHOTS, exist_ok=True)
    print("Walking the installer's pages:")
    save_page(wizard, "installer-0-welcome")
    wizard.click(1001)
    time.sleep(0.5)
    save_page(wizard, "installer-1-folder")
    folder = wizard.state()["folder"]["text"]
    wizard.click(1001)
    harness.wait_until(lambda: wizard.state()["controls"]["1007"]["text"] == "完成", timeout=120)
    save_page(wizard, "installer-3-finished")
    wizard.click(1007)
    wizard.gone()
    print("Installed into " + folder)


def main():
    print("Wine prefix flavour: %s (programs from %s)" % (harness.ARCH, harness.FLAVOUR))
    if harness.ARCH == "win64":
        print("This machine cannot execute 32-bit x86 code, so the x86_64 build of the same\n"
              "sources runs in a 64-bit prefix; dist/ holds the 32-bit deliverables.")
    interactive = have_display()
    with harness.Session("main-job", display=os.environ["DISPLAY"] if interactive else None) as session:
        if interactive:
            print("The installer's wizard is open on %s; finish or cancel it to go on." % session.display)
            session.run(harness.program("installer/VarnekPrinterSetup.exe"), timeout=3600, check=False)
        else:
            drive_installer(session)


if __name__ == "__main__":
    main()
