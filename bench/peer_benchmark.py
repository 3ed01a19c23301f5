#!/usr/bin/env python3
"""Peer benchmark: our installer against an NSIS installer of the same 17 files.

    python3 bench/peer_benchmark.py [--runs N]

Needs a built tree (build/, or VARNEK_BUILD_DIR) and makensis (Debian's
nsis; scripts/install-deps.sh installs it). The 17 payload files of the build
flavour that runs in the Wine prefix are packed twice: by our packer onto our
installer image, and by makensis (zlib, the stub for the prefix's
architecture). The script prints both sizes, then times both silent installs
(`/S /D=folder`) under Wine, each run in a fresh copy of the test prefix
warmed up by one NSIS install elsewhere, and prints the ratio of the medians. Where our installer has no silent mode yet
(a wizard window appears), ours is timed through its wizard from process start
to the finished page, and the output says so.

What is timed differs in work: NSIS only unpacks the files; ours also moves
the driver files and registers the USB driver, monitor, port, driver, queue,
forms, registry values and service.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(REPO, "tests", "wine"))
import harness  # noqa: E402

NSIS_TARGET = {"win64": "amd64-unicode", "win32": "x86-unicode"}
# No blanks: Wine would quote such an argument, and NSIS takes /D= only unquoted.
OURS_FOLDER = "C:\\BenchOurs\\VarnekPrinter"
NSIS_FOLDER = "C:\\BenchNSIS\\VarnekPrinter"
NEXT, FINISH = 1001, 1007


def payload_files():
    """The 17 members in package order, as the build of the prefix's flavour packs them."""
    vendor = os.environ.get("VARNEK_VENDOR_DIR") or os.path.join(harness.BUILD, "win64", "payload", "vendor")
    with open(os.path.join(REPO, "payload", "members.txt")) as f:
        names = [line.strip() for line in f if line.strip()]
    paths = []
    for name in names:
        if name == "Uninstaller.exe":
            paths.append(harness.program("uninstaller/Uninstaller.exe"))
        elif os.path.exists(os.path.join(REPO, "payload", name)):
            paths.append(os.path.join(REPO, "payload", name))
        else:
            paths.append(os.path.join(vendor, name))
    missing = [p for p in paths if not os.path.isfile(p)]
    if missing:
        sys.exit("Missing payload files (build first): " + ", ".join(missing))
    return paths


def pack_ours(files, out):
    image = harness.program("installer/VarnekPrinterSetup.image.exe")
    subprocess.run([os.path.join(harness.BUILD, "tools", "varnek_packer"), image, out] + files, check=True,
                   stdout=subprocess.DEVNULL)
    return os.path.getsize(image)


def pack_nsis(files, out, work):
    script = os.path.join(work, os.path.basename(out) + ".nsi")
    lines = [
        "Unicode true",
        "Target " + NSIS_TARGET[harness.ARCH],
        "SetCompressor zlib",
        'Name "VarnekPrinter"',
        'OutFile "%s"' % out,
        'InstallDir "$PROGRAMFILES64\\VarnekPrinter"',
        "RequestExecutionLevel admin",
        "Section",
        '  SetOutPath "$INSTDIR"',
    ] + ['  File "%s"' % path for path in files] + ["SectionEnd"]
    with open(script, "w") as f:
        f.write("\n".join(lines) + "\n")
    subprocess.run(["makensis", "-V2", script], check=True, stdout=subprocess.DEVNULL)


def timed_silent(session, program, folder):
    """Seconds from process start to exit of `program /S /D=folder`, or None
    when it opened our installer's wizard instead (a build without the silent
    mode); then the wizard is left open."""
    started = time.perf_counter()
    process = session.start(program, "/S", "/D=" + folder)
    wizard = harness.Wizard(session, harness.INSTALLER_CAPTION)
    while process.poll() is None:
        if wizard.wait(timeout_ms=50):
            return None
    elapsed = time.perf_counter() - started
    if process.returncode != 0:
        sys.exit("%s /S exited with %d" % (program, process.returncode))
    return elapsed


def timed_wizard(session, wizard, started):
    """Drives an open installer wizard to its finished page; seconds since started."""
    wizard.click(NEXT)
    harness.wait_until(lambda: wizard.state()["folder_box"]["visible"], timeout=15)
    wizard.set_folder(OURS_FOLDER)
    wizard.click(NEXT)

    def finished():
        button = wizard.state()["controls"][str(FINISH)]
        return button["enabled"] and button["text"] == "完成"
    if not harness.wait_until(finished, timeout=120, interval=0.01):
        sys.exit("Our wizard did not reach its finished page.")
    elapsed = time.perf_counter() - started
    wizard.click(FINISH)
    wizard.gone()
    return elapsed


def warm_up(session, nsis):
    """The first GUI program of a session starts the desktop and loads the fonts:
    an NSIS install into a scratch folder takes that cost off the timed runs."""
    session.wizdrv("nobox", 0)  # the GUI driver runs before the clock starts
    session.run(nsis, "/S", "/D=C:\\WarmUp", timeout=120)


def time_ours(installer, nsis):
    """(seconds, how) of one installation of ours in a fresh prefix copy."""
    with harness.Session("bench-ours") as session:
        warm_up(session, nsis)
        started = time.perf_counter()
        elapsed = timed_silent(session, installer, OURS_FOLDER)
        if elapsed is not None:
            return elapsed, "silent install, /S /D=folder, process start to exit"
        elapsed = timed_wizard(session, harness.Wizard(session, harness.INSTALLER_CAPTION), started)
        return elapsed, "through the wizard (this build has no /S): process start to the finished page"


def time_nsis(installer):
    with harness.Session("bench-nsis") as session:
        warm_up(session, installer)
        elapsed = timed_silent(session, installer, NSIS_FOLDER)
        installed = os.listdir(session.unix_path(NSIS_FOLDER))
        if len(installed) != 17:
            sys.exit("NSIS installed %d files, not 17" % len(installed))
        return elapsed


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=5, help="installations of each (default 5)")
    args = parser.parse_args()

    files = payload_files()
    with tempfile.TemporaryDirectory() as work:
        ours, nsis = os.path.join(work, "VarnekPrinterSetup.exe"), os.path.join(work, "PeerSetup.exe")
        image = pack_ours(files, ours)
        pack_nsis(files, nsis, work)
        # The same script without files: the stub with its header, NSIS's counterpart of our image.
        empty = os.path.join(work, "PeerEmpty.exe")
        pack_nsis([], empty, work)
        stub = os.path.getsize(empty)
        ours_size, nsis_size = os.path.getsize(ours), os.path.getsize(nsis)
        print("Same 17 files (%d bytes), %s prefix, build %s" % (sum(os.path.getsize(f) for f in files),
                                                                 harness.ARCH, harness.FLAVOUR))
        print("  ours: %9d bytes = image %d + package %d" % (ours_size, image, ours_size - image))
        print("  NSIS: %9d bytes = stub %d + data %d (zlib, %s)"
              % (nsis_size, stub, nsis_size - stub, NSIS_TARGET[harness.ARCH]))
        print("  size ours / NSIS: %.3f" % (ours_size / nsis_size))

        # Each installer gets a prefix copy of its own per run, in turns.
        ours_times, nsis_times, how = [], [], None
        for _ in range(args.runs):
            elapsed, how = time_ours(ours, nsis)
            ours_times.append(elapsed)
            nsis_times.append(time_nsis(nsis))
    print("Installation times under Wine, %d runs each, median (min-max):" % args.runs)
    print("  ours: %.3f s (%.3f-%.3f), %s" % (statistics.median(ours_times), min(ours_times), max(ours_times), how))
    print("  NSIS: %.3f s (%.3f-%.3f), silent install, /S /D=folder, process start to exit"
          % (statistics.median(nsis_times), min(nsis_times), max(nsis_times)))
    print("  time ours / NSIS: %.2f" % (statistics.median(ours_times) / statistics.median(nsis_times)))


if __name__ == "__main__":
    main()
