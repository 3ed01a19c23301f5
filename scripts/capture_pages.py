#!/usr/bin/env python3
"""Saves a PNG of every wizard page of both programs in docs/screenshots/.

The installer's welcome, folder and finished pages are taken from the
installer itself (the whole dialog); its installing page, which passes too
quickly, and the uninstaller's pages from the page host (the page window
alone). Runs under its own Xvfb in a throwaway Wine prefix; needs a build
(VARNEK_BUILD_DIR, default build/).
"""
import os
import subprocess
import sys
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, "tests", "wine"))
import harness  # noqa: E402

SCREENSHOTS = os.path.join(REPO, "docs", "screenshots")
PAGE_HOST = "Page host"


def save(session, wizard, name, part=None):
    bmp = os.path.join(session.dir, name + ".bmp")
    wizard.capture(bmp, part)
    png = os.path.join(SCREENSHOTS, name + ".png")
    # Without the date chunks the file changes only when the pixels do.
    subprocess.run(["convert", bmp, "-strip", "-define", "png:exclude-chunks=date,time", png], check=True)
    print("  " + os.path.relpath(png, REPO))


def installer_pages(session):
    session.start(harness.program("installer/VarnekPrinterSetup.exe"))
    wizard = harness.Wizard(session, harness.INSTALLER_CAPTION)
    if not wizard.wait():
        sys.exit("The installer's wizard did not appear.")
    time.sleep(0.5)
    save(session, wizard, "installer-0-welcome")
    wizard.click(1001)
    harness.wait_until(lambda: wizard.state()["folder_box"]["visible"])
    time.sleep(0.5)
    save(session, wizard, "installer-1-folder")
    wizard.click(1001)
    if not harness.wait_until(lambda: wizard.state()["controls"]["1007"]["text"] == "完成", timeout=120):
        sys.exit("The installer did not reach its finished page.")
    time.sleep(0.5)
    save(session, wizard, "installer-3-finished")
    wizard.click(1007)
    wizard.gone()


def host_page(session, name, program, page, *extra):
    session.start(harness.program("tests/wine/pagehost.exe"), program, str(page), *extra)
    wizard = harness.Wizard(session, PAGE_HOST)
    if not wizard.wait():
        sys.exit("The page host did not show %s page %d." % (program, page))
    save(session, wizard, name, "page")
    wizard.close()
    wizard.gone()


def main():
    os.makedirs(SCREENSHOTS, exist_ok=True)
    with harness.Session("capture-pages") as session:
        print("Installer pages:")
        installer_pages(session)
        host_page(session, "installer-2-installing", "installer", 2)
        print("Uninstaller pages (page window):")
        host_page(session, "uninstaller-0-welcome", "uninstaller", 0)
        host_page(session, "uninstaller-1-removing", "uninstaller", 1)
        # Its controller empties the status text on entering this page.
        host_page(session, "uninstaller-2-finished", "uninstaller", 2, "--status", "")


if __name__ == "__main__":
    main()
