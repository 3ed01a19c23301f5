"""What the prefix's spooler, service manager, registry and device manager
hold, read through sysprobe.exe inside the prefix, and the expectations that
depend on the Wine mode (harness.FACTS). Shared by the installation, removal and
lifecycle tests."""
import getpass
import glob
import json
import os
import re

import harness

HARDWARE_ID = "USB\\VID_03eb&PID_2024"
SERVICE = "Varnek Printer Service"
DRIVER = "Varnek Printer Driver"
MONITOR = "Varnek Monitor"
MONITOR_LIBRARY = "VarnekRt81.dll"
PORT = "USB PORT:"
QUEUE = "VarnekPrinter"
MONITORS_KEY = "HKLM\\System\\CurrentControlSet\\Control\\Print\\Monitors"
PRODUCT_KEY = "HKLM\\Software\\VarnekPrinter"
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VarnekPrinter"
RUN_ONCE_KEY = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce"
RUN_ONCE_VALUE = "DvxUninstaller"
# The wizard's proposal, %ProgramFiles%\\VarnekPrinter as the installer sees it.
DEFAULT_FOLDER = harness.FACTS.program_files + "\\VarnekPrinter"
with open(os.path.join(harness.REPO, "common", "names.h")) as names:
    PACKAGE_VERSION = re.search(r'#define VARNEK_PACKAGE_VERSION "([^"]+)"', names.read()).group(1)
DATA_FOLDER = "C:\\ProgramData\\VarnekPrinter"
# The files the installer moves into the driver directory, and the binary GPD
# that Unidrv may add; the first five and the last one are the product's own.
DRIVER_FILES = ["VarnekUI.ini", "VarnekUI.dll", "VarnekUni.dll", "UNIRES.DLL", "unidrv.hlp", "UNIDRVUI.dll",
                "UNIDRV.dll", "STDNAMES.GPD", "VarnekPrinter.gpd", "VarnekPrinter.BUD"]
OWN_DRIVER_FILES = ["VarnekUI.ini", "VarnekUI.dll", "VarnekUni.dll", "VarnekPrinter.gpd", "VarnekPrinter.BUD"]
# (folder, shortcut) under the Start menu's programs folder: the installer's
# entry and the one of earlier versions.
START_MENU_ENTRIES = [("Varnek打印机", "卸载 Varnek打印机驱动.lnk"),
                      ("Varnek标牌打印机", "卸载 Varnek标牌打印机驱动.lnk")]

# The environment the driver is registered for and its driver-directory name:
# the native spooler's, x64 on 64-bit Windows (under WOW64 too), x86 on 32-bit.
ENVIRONMENT = harness.FACTS.environment
DRIVER_DIR_NAME = harness.FACTS.driver_dir_name

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


def add_monitor(session):
    """AddPortMonitor as the installer calls it, from a process of the
    installer's bits; its result code."""
    out = session.run(harness.program("tests/wine/stephost.exe"), "monitor").stdout.decode()
    return json.loads(out)["result"]


def spooler(session, environment=None):
    return probe(session, "spooler", *([environment] if environment else []))


def service(session, name=SERVICE):
    """The service's configuration and state; {"exists": False} when there is none."""
    return probe(session, "service", name, check=False)


def wait_service_state(session, state, timeout=10.0):
    """Whether the product's service is in state (STOPPED, RUNNING) within timeout seconds."""
    return harness.wait_until(lambda: service(session).get("state") == state, timeout)


def wait_service_gone(session, timeout=10.0):
    """Whether the product's service is deleted within timeout seconds."""
    return harness.wait_until(lambda: not service(session)["exists"], timeout)


def remove_service(session):
    """Stops and deletes the product's service, whatever state it is in."""
    session.run("sc", "stop", SERVICE, check=False)
    session.run("sc", "delete", SERVICE, check=False)


class ServiceCase(harness.WineTestCase):
    """A test group whose installations leave the product's service behind:
    the programs it started end and the service goes before the session
    closes, also when setUpClass failed."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # Class cleanups run last in, first out: before the session's close.
        cls.addClassCleanup(cls._end_service, cls.session)

    @staticmethod
    def _end_service(session):
        session.stop_started()
        remove_service(session)


def set_service_start_type(session, start_type, name=SERVICE):
    probe(session, "service-start-type", name, str(start_type))


def registry(session, key):
    """{"exists", "values": {name: {"type", "data"[, "size"]}}, "subkeys"} of a key in the 64-bit view."""
    return probe(session, "reg", key, check=False)


def printer_data(session, printer, value):
    return probe(session, "printerdata", printer, value, check=False)


def add_printer(session, name, driver, port="FILE:"):
    """A local queue of that driver on that port."""
    probe(session, "printer-add", name, driver, port)


def delete_printer(session, name):
    probe(session, "printer-delete", name)


def copy_driver(session, source, name):
    """Registers driver name with the files of driver source."""
    probe(session, "driver-copy", source, name)


def registry_tree(session, key):
    """{key path: [value names]} for the key and every key below it; {} when it does not exist."""
    return probe(session, "regtree", key)


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


def lower_names(unix_folder):
    return {name.lower() for name in os.listdir(unix_folder)} if os.path.isdir(unix_folder) else set()


def start_menu_folder(session):
    """The Unix folder of the shell's programs folder (CSIDL_PROGRAMS)."""
    return os.path.join(user_profile(session), "AppData", "Roaming", "Microsoft", "Windows", "Start Menu", "Programs")


def programs_and_features(session):
    """The product's lines of Wine's own list of installed programs, "key|||DisplayName"."""
    out = session.run("uninstaller", "--list").stdout.decode("gbk", errors="replace")
    return [line.strip() for line in out.splitlines() if "VarnekPrinter" in line]


def temporary_copies(session):
    """The uninstaller's temporary copies (Del*.tmp) in the user's temporary folder."""
    return sorted(os.path.basename(p) for p in glob.glob(os.path.join(user_profile(session), "Temp", "Del*.tmp")))


def stored_infs(session):
    """The INF files in the Windows inf folder that serve the printer's hardware ID."""
    folder = session.unix_path("C:\\windows\\inf")
    found = []
    for name in sorted(os.listdir(folder)):
        if name.lower().endswith(".inf"):
            with open(os.path.join(folder, name), "rb") as f:
                if HARDWARE_ID.lower().encode() in f.read().lower():
                    found.append(name)
    return found


def in_32bit_views(session):
    """What of ours a 32-bit program would have put where 64-bit Windows
    redirects it: the monitor library in SysWOW64, keys or values of ours
    under WOW6432Node. A 32-bit prefix has neither place."""
    found = []
    system = harness.FACTS.wow64_system_dir
    if system and MONITOR_LIBRARY.lower() in lower_names(session.unix_path(system)):
        found.append(system + "\\" + MONITOR_LIBRARY)
    view = harness.FACTS.wow64_registry_view
    if view:
        for key, values in sorted(registry_tree(session, "HKLM\\Software\\" + view).items()):
            if "varnek" in key.lower() or RUN_ONCE_VALUE in values:
                found.append(key)
    return found


SERVICE_STATES = {1: "stopped", 2: "start pending", 3: "stop pending", 4: "running", 5: "continue pending",
                  6: "pause pending", 7: "paused"}


def product_state(session, folder=DEFAULT_FOLDER):
    """What of the product the prefix holds, item by item: a value, or None
    (or an empty list) for an item that is not there."""
    state = spooler(session)
    uses_driver = [p for p in state["printers"] if p["driver"] == DRIVER]
    driver = by_name(state["drivers"], DRIVER)
    monitor = by_name(state["monitors"], MONITOR)
    port = by_name(state["ports"], PORT)
    service_info = service(session)
    product_key = registry(session, PRODUCT_KEY)
    monitor_key = registry(session, MONITORS_KEY + "\\" + MONITOR)
    run_once = registry(session, RUN_ONCE_KEY)["values"].get(RUN_ONCE_VALUE)
    driver_dir = session.unix_path(state["driver_directory"])
    library = os.path.join(session.unix_path(state["system_directory"]), MONITOR_LIBRARY)
    menu = start_menu_folder(session)
    wanted = {name.lower() for name in DRIVER_FILES}

    def folder_names(windows_folder):
        unix = session.unix_path(windows_folder)
        return sorted(os.listdir(unix)) if os.path.isdir(unix) else None

    return {
        "queues": [{"name": p["name"], "port": p["port"]} for p in uses_driver],
        "driver": {"environment": driver["environment"], "data_file": base_name(driver["data_file"])} if driver else None,
        "monitor": {"library": base_name(monitor["dll"])} if monitor else None,
        "monitor key": monitor_key["values"]["Driver"]["data"] if monitor_key["exists"] and
        "Driver" in monitor_key["values"] else ({} if monitor_key["exists"] else None),
        "port": {"monitor": port["monitor"]} if port else None,
        "service": {"state": SERVICE_STATES.get(service_info.get("state"), service_info.get("state")),
                    "program": service_info.get("binary_path")} if service_info["exists"] else None,
        "product key": {name: v["data"] for name, v in product_key["values"].items()} if product_key["exists"]
        else None,
        "RunOnce value": run_once["data"] if run_once else None,
        "installation folder": folder_names(folder),
        "data folder": folder_names(DATA_FOLDER),
        "driver files": sorted(n for n in os.listdir(driver_dir) if n.lower() in wanted),
        "driver files in 3": sorted(n for n in os.listdir(os.path.join(driver_dir, "3")) if n.lower() in wanted),
        "monitor library": state["system_directory"] + "\\" + MONITOR_LIBRARY if os.path.exists(library) else None,
        "Start-menu entries": [f + "\\" + link for f, link in START_MENU_ENTRIES
                               if os.path.exists(os.path.join(menu, f))],
        "Programs and Features": programs_and_features(session),
        "temporary copies": temporary_copies(session),
        "INF in the driver store": stored_infs(session),
        "in the 32-bit views": in_32bit_views(session),
    }


def describe(state):
    """product_state() as readable lines, one per item."""
    lines = []
    for item, value in state.items():
        if value is None or value == []:
            text = "-"
        elif isinstance(value, str):
            text = value
        else:
            text = json.dumps(value, ensure_ascii=False)
        lines.append("  %-24s %s" % (item, text))
    return "\n".join(lines)


def summary(session, folder=DEFAULT_FOLDER):
    """The product's state in the prefix as readable text."""
    return describe(product_state(session, folder))


def snapshot(session):
    """Every file and folder under drive_c (relative, '/'-separated) and every
    registry key of HKLM\\Software, HKLM\\System and HKCU\\Software with its
    value names: what a residue is measured against."""
    root = os.path.join(session.prefix, "drive_c")
    files = set()
    for folder, dirs, names in os.walk(root):
        for name in dirs + names:
            files.add(os.path.relpath(os.path.join(folder, name), root).replace(os.sep, "/"))
    keys = {}
    for key in ("HKLM\\Software", "HKLM\\System", "HKCU\\Software"):
        keys.update(registry_tree(session, key))
    return {"files": files, "keys": {key: set(values) for key, values in keys.items()}}


def residue(before, after):
    """What after holds that before did not: "+file", "+key" and "+key\\\\[value]"
    entries, and "-..." for what went."""
    changes = {"+" + f for f in after["files"] - before["files"]}
    changes |= {"-" + f for f in before["files"] - after["files"]}
    for key in after["keys"].keys() | before["keys"].keys():
        old, new = before["keys"].get(key), after["keys"].get(key)
        if old is None:
            changes.add("+" + key)
        if new is None:
            changes.add("-" + key)
        changes |= {"+%s\\[%s]" % (key, v) for v in (new or set()) - (old or set())}
        changes |= {"-%s\\[%s]" % (key, v) for v in (old or set()) - (new or set())}
    return changes


def temp_folder(session):
    """The prefix's %TEMP% for its user, as a Unix path."""
    return os.path.join(session.prefix, "drive_c", "users", getpass.getuser(), "Temp")


def log_lines(session, name="VarnekPrinterSetup.log", unix_path=None):
    """The lines of a program's log (the default one in %TEMP%, or the file at
    unix_path), each as its five fields: time, step, object, result, error
    code (int). Every line must end in CR LF and have exactly five fields."""
    with open(unix_path or os.path.join(temp_folder(session), name), "rb") as f:
        text = f.read().decode("gbk")
    assert text.endswith("\r\n"), "the log does not end with a whole line"
    lines = []
    for line in text[:-2].split("\r\n"):
        fields = line.split("\t")
        assert len(fields) == 5, "not five fields: %r" % line
        assert re.match(r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}$", fields[0]), line
        lines.append(fields[:4] + [int(fields[4])])
    return lines
