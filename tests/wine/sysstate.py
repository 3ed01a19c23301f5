"""What the prefix's spooler, service manager, registry and device manager
hold, read through sysprobe.exe inside the prefix, and the expectations that
depend on the prefix's architecture. Shared by the installation, removal and
lifecycle tests."""
import json
import os

import harness

HARDWARE_ID = "USB\\VID_03eb&PID_2024"
SERVICE = "Varnek Printer Service"
DRIVER = "Varnek Printer Driver"
MONITOR = "Varnek Monitor"
MONITOR_LIBRARY = "VarnekRt81.dll"
PORT = "USB PORT:"
QUEUE = "VarnekPrinter"
MONITORS_KEY = "HKLM\\System\\CurrentControlSet\\Control\\Print\\Monitors"

# The running system's spooler environment and its driver-directory name:
# a 64-bit prefix has the x64 spooler, a 32-bit one the x86 spooler.
ENVIRONMENT = "Windows x64" if harness.ARCH == "win64" else "Windows NT x86"
DRIVER_DIR_NAME = "x64" if harness.ARCH == "win64" else "w32x86"

# Service states of QueryServiceStatus.
STOPPED, RUNNING = 1, 4


def probe(session, *args, check=True):
    """Runs sysprobe with args; returns its JSON output (None when it printed nothing)."""
    result = session.run(harness.program("tests/wine/sysprobe.exe"), *args, check=False)
    if check and result.returncode != 0:
        raise AssertionError("sysprobe %s exited with %d: %s" % (" ".join(args), result.returncode,
                                                                 result.stdout.decode("utf-8", errors="replace")))
    out = result.stdout.decode("utf-8").strip()
    return json.loads(out) if out else None


def spooler(session, environment=None):
    return probe(session, "spooler", *([environment] if environment else []))


def service(session, name=SERVICE):
    """The service's configuration and state; {"exists": False} when there is none."""
    return probe(session, "service", name, check=False)


def set_service_start_type(session, start_type, name=SERVICE):
    probe(session, "service-start-type", name, str(start_type))


def registry(session, key):
    """{"exists", "values": {name: {"type", "data"[, "size"]}}, "subkeys"} of a key in the 64-bit view."""
    return probe(session, "reg", key, check=False)


def printer_data(session, printer, value):
    return probe(session, "printerdata", printer, value, check=False)


def set_printer_data(session, printer, value, number):
    """Sets a REG_DWORD printer-data value."""
    probe(session, "printerdata-set", printer, value, str(number))


def attach_device(session, hardware_id=HARDWARE_ID):
    """A root-enumerated device with that hardware ID, as if the printer were plugged in."""
    return probe(session, "device-add", hardware_id)


def remove_devices(session, hardware_id=HARDWARE_ID):
    return probe(session, "device-remove", hardware_id)


def devices(session, hardware_id=HARDWARE_ID):
    return probe(session, "devices", hardware_id)["devices"]


def copy_oem_inf(session, inf):
    """SetupCopyOEMInfA(inf, SPOST_PATH, SP_COPY_NEWER_OR_SAME): {"ok", "error", "stored"}."""
    return probe(session, "oeminf", inf, check=False)


def by_name(items, name):
    """The entry of a sysprobe list whose "name" is name, or None."""
    return next((item for item in items if item["name"] == name), None)


def base_name(path):
    return path.rsplit("\\", 1)[-1] if path else path


def folder_of(path):
    return path.rsplit("\\", 1)[0]


def user_profile(session):
    """The Unix folder of the prefix's user profile (%USERPROFILE%)."""
    users = os.path.join(session.prefix, "drive_c", "users")
    names = [n for n in os.listdir(users) if n != "Public" and os.path.isdir(os.path.join(users, n))]
    assert len(names) == 1, names
    return os.path.join(users, names[0])
