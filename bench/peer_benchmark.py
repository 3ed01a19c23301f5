#!/usr/bin/env python3
"""Peer benchmark: our installer against an NSIS installer of the same files.

    python3 bench/peer_benchmark.py [--runs N]

Needs a built tree (build/, or VARNEK_BUILD_DIR) and makensis (Debian's
nsis; scripts/install-deps.sh installs it). It runs in the Wine mode of the
tests (VARNEK_WINE_MODE, harness.py) and says which. The package's members
(the product table's, listed by the build in payload_members.txt), with the stand-ins the mode's installer carries (in
wow64 the shipped configuration: x64 modules behind the i686 installer), are
packed twice: by our packer onto the mode's installer image, and by makensis
(zlib, the stub for the same machine as that image). The script prints both sizes, then
times both silent installs (`/S /D=folder`, process start to exit) under
Wine, each run in a fresh copy of the test prefix warmed up by one NSIS
install elsewhere, and prints the ratio of the medians.

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

# By the build flavour of our installer image.
NSIS_TARGET = {"win64": "amd64-unicode", "win32": "x86-unicode"}[harness.FACTS.programs]
# No blanks: Wine would quote such an argument, and NSIS takes /D= only unquoted.
OURS_FOLDER = "C:\\BenchOurs\\VarnekPrinter"
NSIS_FOLDER = "C:\\BenchNSIS\\VarnekPrinter"


def payload_files():
    """The package's members in order, as the mode's stand-in installer packs them."""
    vendor = os.environ.get("VARNEK_VENDOR_DIR") or harness.STANDINS
    with open(os.path.join(harness.BUILD, "payload_members.txt")) as f:
        names = [line.strip() for line in f if line.strip()]
    paths = []
    for name in names:
        if name == "Uninstaller.exe":
            paths.append(harness.program("uninstaller/Uninstaller.exe"))
        elif name == "VarnekUsb64.exe":
            paths.append(os.path.join(harness.BUILD, "win64", "usb_helper", name))
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
        "Target " + NSIS_TARGET,
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


def timed_silent(session, program, folder, expected=0):
    """Seconds from process start to exit of `program /S /D=folder`, which
    must end with the exit code expected."""
    started = time.perf_counter()
    process = session.start(program, "/S", "/D=" + folder)
    process.wait(timeout=120)
    elapsed = time.perf_counter() - started
    if process.returncode != expected:
        sys.exit("%s /S exited with %d" % (program, process.returncode))
    return elapsed


def warm_up(session, nsis):
    """The first GUI program of a session starts the desktop and loads the fonts:
    an NSIS install into a scratch folder takes that cost off the timed runs."""
    session.wizdrv("nobox", 0)  # the GUI driver runs before the clock starts
    session.run(nsis, "/S", "/D=C:\\WarmUp", timeout=120)


def time_ours(installer, nsis):
    with harness.Session("bench-ours") as session:
        warm_up(session, nsis)
        # Under Wine's monitor limit (wow64) ours ends with the port step's 9.
        return timed_silent(session, installer, OURS_FOLDER, harness.INSTALLED_CODE)


def time_nsis(installer, count):
    with harness.Session("bench-nsis") as session:
        warm_up(session, installer)
        elapsed = timed_silent(session, installer, NSIS_FOLDER)
        installed = os.listdir(session.unix_path(NSIS_FOLDER))
        if len(installed) != count:
            sys.exit("NSIS installed %d files, not %d" % (len(installed), count))
        return elapsed


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runs", type=int, default=5, help="installations of each (default 5)")
    args = parser.parse_args()

    if harness.FACTS.runnable():
        sys.exit("Wine mode %s: not run (%s)" % (harness.MODE, harness.FACTS.runnable()))
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
        print("Wine mode %s: %s prefix, our image from %s, stand-ins from %s"
              % (harness.MODE, harness.ARCH, harness.FLAVOUR,
                 os.environ.get("VARNEK_VENDOR_DIR") or harness.STANDINS))
        print("Same %d files (%d bytes)" % (len(files), sum(os.path.getsize(f) for f in files)))
        print("  ours: %9d bytes = image %d + package %d" % (ours_size, image, ours_size - image))
        print("  NSIS: %9d bytes = stub %d + data %d (zlib, %s)"
              % (nsis_size, stub, nsis_size - stub, NSIS_TARGET))
        print("  size ours / NSIS: %.3f" % (ours_size / nsis_size))

        # Each installer gets a prefix copy of its own per run, in turns.
        ours_times, nsis_times = [], []
        for _ in range(args.runs):
            ours_times.append(time_ours(ours, nsis))
            nsis_times.append(time_nsis(nsis, len(files)))
    print("Installation times under Wine, %d runs each, median (min-max):" % args.runs)
    print("  (silent installs, /S /D=folder, process start to exit)")
    for who, times in (("ours", ours_times), ("NSIS", nsis_times)):
        print("  %s: %.3f s (%.3f-%.3f)" % (who, statistics.median(times), min(times), max(times)))
    print("  time ours / NSIS: %.2f" % (statistics.median(ours_times) / statistics.median(nsis_times)))


if __name__ == "__main__":
    main()
