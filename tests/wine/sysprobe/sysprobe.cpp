// sysprobe: prints as JSON (UTF-8) what the spooler, the service manager,
// the registry and the device manager of the prefix hold, for the Wine
// tests of installation and removal. Exit code 0 on success, 1 when the
// object asked for does not exist or a call failed, 3 for bad usage.
//
//   sysprobe spooler [ENV]             our environment rule, driver directories, system directory,
//                                      drivers (DRIVER_INFO_3 for ENV, default: the rule's),
//                                      printers (PRINTER_INFO_2), ports, monitors
//   sysprobe printerdata PRINTER NAME  a printer-data value
//   sysprobe printerdata-set PRINTER NAME N   sets a REG_DWORD printer-data value
//   sysprobe printer-add NAME DRIVER PORT     adds a local queue (WinPrint, RAW)
//   sysprobe printer-delete NAME       deletes a queue
//   sysprobe driver-copy FROM NAME     registers driver NAME with the files of driver FROM (rule's environment)
//   sysprobe service NAME              configuration, description and state
//   sysprobe service-start-type NAME N changes the start type only (Wine's sc has no "config")
//   sysprobe reg ROOT\KEY              the values of a key (64-bit view); ROOT is HKLM or HKCU
//   sysprobe regtree ROOT\KEY          every key below it (itself included) with its value names
//   sysprobe device-add HWID           attaches a root-enumerated device with that hardware ID
//   sysprobe device-remove HWID        removes every device with that hardware ID
//   sysprobe devices HWID              the devices with that hardware ID and their driver
//   sysprobe oeminf INF                SetupCopyOEMInfA as the installer calls it, with the stored name
//   sysprobe hold FILE MARKER SECONDS  holds FILE open against writers, as the spooler holds a
//                                      library it has loaded; creates MARKER once it does
//   sysprobe service-hold NAME MARKER SECONDS  holds a handle to the service, as the Services
//                                      console does; creates MARKER once it does
//   sysprobe codepages                 the session's ANSI and OEM code pages
#include <windows.h>

#include <devguid.h>
#include <setupapi.h>
#include <stdio.h>
#include <string.h>
#include <wchar.h>
#include <winspool.h>

#include "common/spooler_env.h"
#include "tests/wine/sysprobe/json_out.h"

namespace {

// Two-call pattern of the enumeration functions: the buffer they ask for.
struct Buffer {
    BYTE* data = nullptr;
    ~Buffer() { delete[] data; }
    BYTE* Get(DWORD size)
    {
        delete[] data;
        data = new BYTE[size ? size : 1];
        return data;
    }
};

void PrintDrivers(const wchar_t* environment)
{
    DWORD needed = 0, count = 0;
    wchar_t* env = const_cast<wchar_t*>(environment);
    EnumPrinterDriversW(nullptr, env, 3, nullptr, 0, &needed, &count);
    Buffer buffer;
    Json::Key("drivers");
    Json::BeginArray();
    if (EnumPrinterDriversW(nullptr, env, 3, buffer.Get(needed), needed, &needed, &count)) {
        DRIVER_INFO_3W* info = reinterpret_cast<DRIVER_INFO_3W*>(buffer.data);
        for (DWORD i = 0; i < count; ++i) {
            Json::BeginObject();
            Json::Field("version", info[i].cVersion);
            Json::Field("name", info[i].pName);
            Json::Field("environment", info[i].pEnvironment);
            Json::Field("driver_path", info[i].pDriverPath);
            Json::Field("data_file", info[i].pDataFile);
            Json::Field("config_file", info[i].pConfigFile);
            Json::Field("help_file", info[i].pHelpFile);
            Json::Key("dependent_files");
            Json::MultiString(info[i].pDependentFiles);
            Json::Field("monitor_name", info[i].pMonitorName);
            Json::Field("default_data_type", info[i].pDefaultDataType);
            Json::EndObject();
        }
    }
    Json::EndArray();
}

void PrintPrinters()
{
    DWORD needed = 0, count = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
    Buffer buffer;
    Json::Key("printers");
    Json::BeginArray();
    if (EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.Get(needed), needed, &needed, &count)) {
        PRINTER_INFO_2W* info = reinterpret_cast<PRINTER_INFO_2W*>(buffer.data);
        for (DWORD i = 0; i < count; ++i) {
            Json::BeginObject();
            Json::Field("name", info[i].pPrinterName);
            Json::Field("share_name", info[i].pShareName);
            Json::Field("port", info[i].pPortName);
            Json::Field("driver", info[i].pDriverName);
            Json::Field("comment", info[i].pComment);
            Json::Field("location", info[i].pLocation);
            Json::Field("sep_file", info[i].pSepFile);
            Json::Field("print_processor", info[i].pPrintProcessor);
            Json::Field("datatype", info[i].pDatatype);
            Json::Field("parameters", info[i].pParameters);
            Json::Field("attributes", info[i].Attributes);
            Json::Field("priority", info[i].Priority);
            Json::Field("default_priority", info[i].DefaultPriority);
            Json::Field("start_time", info[i].StartTime);
            Json::Field("until_time", info[i].UntilTime);
            Json::Field("status", info[i].Status);
            Json::Field("jobs", info[i].cJobs);
            Json::Field("average_ppm", info[i].AveragePPM);
            Json::EndObject();
        }
    }
    Json::EndArray();
}

void PrintPorts()
{
    DWORD needed = 0, count = 0;
    EnumPortsW(nullptr, 2, nullptr, 0, &needed, &count);
    Buffer buffer;
    Json::Key("ports");
    Json::BeginArray();
    if (EnumPortsW(nullptr, 2, buffer.Get(needed), needed, &needed, &count)) {
        PORT_INFO_2W* info = reinterpret_cast<PORT_INFO_2W*>(buffer.data);
        for (DWORD i = 0; i < count; ++i) {
            Json::BeginObject();
            Json::Field("name", info[i].pPortName);
            Json::Field("monitor", info[i].pMonitorName);
            Json::Field("description", info[i].pDescription);
            Json::Field("type", info[i].fPortType);
            Json::EndObject();
        }
    }
    Json::EndArray();
}

void PrintMonitors()
{
    DWORD needed = 0, count = 0;
    EnumMonitorsW(nullptr, 2, nullptr, 0, &needed, &count);
    Buffer buffer;
    Json::Key("monitors");
    Json::BeginArray();
    if (EnumMonitorsW(nullptr, 2, buffer.Get(needed), needed, &needed, &count)) {
        MONITOR_INFO_2W* info = reinterpret_cast<MONITOR_INFO_2W*>(buffer.data);
        for (DWORD i = 0; i < count; ++i) {
            Json::BeginObject();
            Json::Field("name", info[i].pName);
            Json::Field("environment", info[i].pEnvironment);
            Json::Field("dll", info[i].pDLLName);
            Json::EndObject();
        }
    }
    Json::EndArray();
}

void PrintDriverDirectory(const char* key, const wchar_t* environment)
{
    wchar_t directory[MAX_PATH];
    DWORD needed = 0;
    Json::Key(key);
    if (GetPrinterDriverDirectoryW(nullptr, const_cast<wchar_t*>(environment), 1,
                                   reinterpret_cast<BYTE*>(directory), sizeof directory, &needed))
        Json::String(directory);
    else
        Json::Null();
}

int CommandSpooler(const wchar_t* environmentArg)
{
    const char* rule = SpoolerEnvironment();
    wchar_t ruleWide[64] = L"";
    if (rule)
        MultiByteToWideChar(CP_ACP, 0, rule, -1, ruleWide, 64);
    const wchar_t* environment = environmentArg ? environmentArg : rule ? ruleWide : nullptr;

    Json::BeginObject();
    Json::Field("environment", rule ? ruleWide : nullptr);
    Json::Field("probed_environment", environment);
    PrintDriverDirectory("driver_directory", environment);
    PrintDriverDirectory("default_driver_directory", nullptr);
    wchar_t systemDirectory[MAX_PATH] = L"";
    GetSystemDirectoryW(systemDirectory, MAX_PATH);
    Json::Field("system_directory", systemDirectory);
    PrintDrivers(environment);
    PrintPrinters();
    PrintPorts();
    PrintMonitors();
    Json::EndObject();
    Json::End();
    return 0;
}

int CommandPrinterData(const wchar_t* printerName, const wchar_t* valueName)
{
    HANDLE printer;
    if (!OpenPrinterW(const_cast<wchar_t*>(printerName), &printer, nullptr))
        return 1;
    DWORD type = 0, needed = 0;
    BYTE data[1024];
    DWORD result = GetPrinterDataW(printer, const_cast<wchar_t*>(valueName), &type, data, sizeof data, &needed);
    ClosePrinter(printer);
    if (result != ERROR_SUCCESS) {
        Json::BeginObject();
        Json::Field("error", result);
        Json::EndObject();
        Json::End();
        return 1;
    }
    Json::BeginObject();
    Json::RegistryValue(type, data, needed);
    Json::EndObject();
    Json::End();
    return 0;
}

int CommandPrinterDataSet(const wchar_t* printerName, const wchar_t* valueName, DWORD value)
{
    HANDLE printer;
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (!OpenPrinterW(const_cast<wchar_t*>(printerName), &printer, &defaults))
        return 1;
    DWORD result = SetPrinterDataW(printer, const_cast<wchar_t*>(valueName), REG_DWORD,
                                   reinterpret_cast<BYTE*>(&value), sizeof value);
    ClosePrinter(printer);
    return result == ERROR_SUCCESS ? 0 : 1;
}

int CommandPrinterAdd(const wchar_t* name, const wchar_t* driver, const wchar_t* port)
{
    PRINTER_INFO_2W info = {};
    info.pPrinterName = const_cast<wchar_t*>(name);
    info.pDriverName = const_cast<wchar_t*>(driver);
    info.pPortName = const_cast<wchar_t*>(port);
    info.pPrintProcessor = const_cast<wchar_t*>(L"WinPrint");
    info.pDatatype = const_cast<wchar_t*>(L"RAW");
    HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!printer)
        return 1;
    ClosePrinter(printer);
    return 0;
}

int CommandPrinterDelete(const wchar_t* name)
{
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer;
    if (!OpenPrinterW(const_cast<wchar_t*>(name), &printer, &defaults))
        return 1;
    BOOL deleted = DeletePrinter(printer);
    ClosePrinter(printer);
    return deleted ? 0 : 1;
}

int CommandDriverCopy(const wchar_t* from, const wchar_t* name)
{
    const char* rule = SpoolerEnvironment();
    wchar_t environment[64] = L"";
    if (rule)
        MultiByteToWideChar(CP_ACP, 0, rule, -1, environment, 64);
    DWORD needed = 0, count = 0;
    EnumPrinterDriversW(nullptr, environment, 3, nullptr, 0, &needed, &count);
    Buffer buffer;
    if (!EnumPrinterDriversW(nullptr, environment, 3, buffer.Get(needed), needed, &needed, &count))
        return 1;
    DRIVER_INFO_3W* info = reinterpret_cast<DRIVER_INFO_3W*>(buffer.data);
    for (DWORD i = 0; i < count; ++i) {
        if (wcscmp(info[i].pName, from) != 0)
            continue;
        DRIVER_INFO_3W copy = info[i];
        copy.pName = const_cast<wchar_t*>(name);
        return AddPrinterDriverW(nullptr, 3, reinterpret_cast<BYTE*>(&copy)) ? 0 : 1;
    }
    return 1;
}

int CommandService(const wchar_t* name)
{
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return 1;
    SC_HANDLE service = OpenServiceW(manager, name, SERVICE_QUERY_CONFIG | SERVICE_QUERY_STATUS);
    if (!service) {
        CloseServiceHandle(manager);
        Json::BeginObject();
        Json::Field("exists", false);
        Json::EndObject();
        Json::End();
        return 1;
    }
    Buffer config, description;
    DWORD needed = 0;
    QueryServiceConfigW(service, nullptr, 0, &needed);
    QUERY_SERVICE_CONFIGW* cfg = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(config.Get(needed));
    BOOL haveConfig = QueryServiceConfigW(service, cfg, needed, &needed);
    needed = 0;
    QueryServiceConfig2W(service, SERVICE_CONFIG_DESCRIPTION, nullptr, 0, &needed);
    SERVICE_DESCRIPTIONW* desc = reinterpret_cast<SERVICE_DESCRIPTIONW*>(description.Get(needed));
    BOOL haveDescription = QueryServiceConfig2W(service, SERVICE_CONFIG_DESCRIPTION, description.data, needed,
                                                &needed);
    SERVICE_STATUS status = {};
    BOOL haveStatus = QueryServiceStatus(service, &status);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);

    Json::BeginObject();
    Json::Field("exists", true);
    if (haveConfig) {
        Json::Field("type", cfg->dwServiceType);
        Json::Field("start", cfg->dwStartType);
        Json::Field("error_control", cfg->dwErrorControl);
        Json::Field("binary_path", cfg->lpBinaryPathName);
        Json::Field("load_order_group", cfg->lpLoadOrderGroup);
        Json::Field("tag", cfg->dwTagId);
        Json::Key("dependencies");
        Json::MultiString(cfg->lpDependencies);
        Json::Field("account", cfg->lpServiceStartName);
        Json::Field("display_name", cfg->lpDisplayName);
    }
    Json::Field("description", haveDescription ? desc->lpDescription : nullptr);
    if (haveStatus)
        Json::Field("state", status.dwCurrentState);
    Json::EndObject();
    Json::End();
    return 0;
}

int CommandServiceStartType(const wchar_t* name, DWORD startType)
{
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager)
        return 1;
    SC_HANDLE service = OpenServiceW(manager, name, SERVICE_CHANGE_CONFIG);
    BOOL ok = service && ChangeServiceConfigW(service, SERVICE_NO_CHANGE, startType, SERVICE_NO_CHANGE, nullptr,
                                              nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    if (service)
        CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return ok ? 0 : 1;
}

bool RootOf(const wchar_t* path, HKEY* root)
{
    if (_wcsnicmp(path, L"HKLM\\", 5) == 0)
        *root = HKEY_LOCAL_MACHINE;
    else if (_wcsnicmp(path, L"HKCU\\", 5) == 0)
        *root = HKEY_CURRENT_USER;
    else
        return false;
    return true;
}

// "path": [value names], then the same for every subkey, depth first.
void PrintKeyTree(HKEY parent, const wchar_t* name, const wchar_t* path)
{
    HKEY key;
    if (RegOpenKeyExW(parent, name, 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS)
        return;
    Json::KeyW(path);
    Json::BeginArray();
    for (DWORD i = 0;; ++i) {
        // Used up before the recursion below: one buffer serves every level.
        static wchar_t value[16384];
        DWORD length = 16384;
        if (RegEnumValueW(key, i, value, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        Json::String(value);
    }
    Json::EndArray();
    for (DWORD i = 0;; ++i) {
        wchar_t subkey[256], subpath[4096];
        DWORD length = 256;
        if (RegEnumKeyExW(key, i, subkey, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (wcslen(path) + 1 + wcslen(subkey) < 4096) {
            wcscpy(subpath, path);
            wcscat(subpath, L"\\");
            wcscat(subpath, subkey);
            PrintKeyTree(key, subkey, subpath);
        }
    }
    RegCloseKey(key);
}

int CommandRegistryTree(const wchar_t* path)
{
    HKEY root;
    if (!RootOf(path, &root))
        return 3;
    Json::BeginObject();
    PrintKeyTree(root, path + 5, path);
    Json::EndObject();
    Json::End();
    return 0;
}

int CommandRegistry(const wchar_t* path)
{
    HKEY root;
    if (!RootOf(path, &root))
        return 3;
    HKEY key;
    if (RegOpenKeyExW(root, path + 5, 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) {
        Json::BeginObject();
        Json::Field("exists", false);
        Json::EndObject();
        Json::End();
        return 1;
    }
    Json::BeginObject();
    Json::Field("exists", true);
    Json::Key("values");
    Json::BeginObject();
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0;
        BYTE data[4096];
        DWORD size = sizeof data;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        Json::KeyW(name);
        Json::BeginObject();
        Json::RegistryValue(type, data, size);
        Json::EndObject();
    }
    Json::EndObject();
    Json::Key("subkeys");
    Json::BeginArray();
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        Json::String(name);
    }
    Json::EndArray();
    Json::EndObject();
    Json::End();
    RegCloseKey(key);
    return 0;
}

// The device's hardware IDs hold hardwareId (case-insensitive).
bool HasHardwareId(HDEVINFO set, SP_DEVINFO_DATA* device, const wchar_t* hardwareId)
{
    wchar_t ids[1024] = L"";
    if (!SetupDiGetDeviceRegistryPropertyW(set, device, SPDRP_HARDWAREID, nullptr, reinterpret_cast<BYTE*>(ids),
                                           sizeof ids - 2 * sizeof(wchar_t), nullptr))
        return false;
    for (const wchar_t* p = ids; *p; p += wcslen(p) + 1) {
        if (_wcsicmp(p, hardwareId) == 0)
            return true;
    }
    return false;
}

void DeviceProperty(HDEVINFO set, SP_DEVINFO_DATA* device, const char* key, DWORD property)
{
    wchar_t text[512];
    Json::Key(key);
    if (SetupDiGetDeviceRegistryPropertyW(set, device, property, nullptr, reinterpret_cast<BYTE*>(text),
                                          sizeof text, nullptr))
        Json::String(text);
    else
        Json::Null();
}

int CommandDeviceAdd(const wchar_t* hardwareId)
{
    HDEVINFO set = SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_USB, nullptr);
    if (set == INVALID_HANDLE_VALUE)
        return 1;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof device;
    // The hardware ID as a multi-string: the ID, its zero, the list's zero.
    wchar_t ids[256] = L"";
    size_t length = wcslen(hardwareId);
    bool ok = length + 2 <= 256;
    if (ok) {
        wcscpy(ids, hardwareId);
        ids[length + 1] = L'\0';
    }
    ok = ok &&
         SetupDiCreateDeviceInfoW(set, L"VarnekTestDevice", &GUID_DEVCLASS_USB, nullptr, nullptr, DICD_GENERATE_ID,
                                  &device) &&
         SetupDiSetDeviceRegistryPropertyW(set, &device, SPDRP_HARDWAREID, reinterpret_cast<BYTE*>(ids),
                                           static_cast<DWORD>((length + 2) * sizeof(wchar_t))) &&
         SetupDiRegisterDeviceInfo(set, &device, 0, nullptr, nullptr, nullptr);
    DWORD error = ok ? 0 : GetLastError();
    wchar_t instance[256] = L"";
    if (ok)
        SetupDiGetDeviceInstanceIdW(set, &device, instance, 256, nullptr);
    SetupDiDestroyDeviceInfoList(set);
    Json::BeginObject();
    Json::Field("ok", ok != FALSE);
    Json::Field("error", error);
    Json::Field("instance", instance);
    Json::EndObject();
    Json::End();
    return ok ? 0 : 1;
}

// Calls visit(set, device) for every device with that hardware ID; their count.
template <class Visit>
int ForEachDevice(const wchar_t* hardwareId, Visit visit)
{
    HDEVINFO set = SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    if (set == INVALID_HANDLE_VALUE)
        return -1;
    int count = 0;
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof device;
    for (DWORD i = 0; SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        if (HasHardwareId(set, &device, hardwareId)) {
            visit(set, &device);
            ++count;
        }
    }
    SetupDiDestroyDeviceInfoList(set);
    return count;
}

int CommandDeviceRemove(const wchar_t* hardwareId)
{
    int failed = 0;
    int count = ForEachDevice(hardwareId, [&](HDEVINFO set, SP_DEVINFO_DATA* device) {
        if (!SetupDiRemoveDevice(set, device))
            ++failed;
    });
    Json::BeginObject();
    Json::Field("removed", static_cast<DWORD>(count < 0 ? 0 : count - failed));
    Json::Field("failed", static_cast<DWORD>(failed));
    Json::EndObject();
    Json::End();
    return count >= 0 && failed == 0 ? 0 : 1;
}

int CommandDevices(const wchar_t* hardwareId)
{
    Json::BeginObject();
    Json::Key("devices");
    Json::BeginArray();
    int count = ForEachDevice(hardwareId, [](HDEVINFO set, SP_DEVINFO_DATA* device) {
        wchar_t instance[256] = L"";
        SetupDiGetDeviceInstanceIdW(set, device, instance, 256, nullptr);
        Json::BeginObject();
        Json::Field("instance", instance);
        DeviceProperty(set, device, "service", SPDRP_SERVICE);
        DeviceProperty(set, device, "driver", SPDRP_DRIVER);
        DeviceProperty(set, device, "class", SPDRP_CLASS);
        Json::EndObject();
    });
    Json::EndArray();
    Json::EndObject();
    Json::End();
    return count >= 0 ? 0 : 1;
}

int CommandOemInf(const wchar_t* inf)
{
    char infA[MAX_PATH];
    if (!WideCharToMultiByte(CP_ACP, 0, inf, -1, infA, MAX_PATH, nullptr, nullptr))
        return 3;
    char stored[MAX_PATH] = "";
    BOOL ok = SetupCopyOEMInfA(infA, nullptr, SPOST_PATH, SP_COPY_NEWER_OR_SAME, stored, MAX_PATH, nullptr,
                               nullptr);
    DWORD error = ok ? 0 : GetLastError();
    wchar_t storedW[MAX_PATH] = L"";
    if (ok)
        MultiByteToWideChar(CP_ACP, 0, stored, -1, storedW, MAX_PATH);
    Json::BeginObject();
    Json::Field("ok", ok != FALSE);
    Json::Field("error", error);
    // Garbage on failure (Wine fills the buffer anyway): only shown on success.
    Json::Field("stored", ok ? storedW : nullptr);
    Json::EndObject();
    Json::End();
    return ok ? 0 : 1;
}

int CommandHold(const wchar_t* file, const wchar_t* marker, DWORD seconds)
{
    HANDLE held = CreateFileW(file, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (held == INVALID_HANDLE_VALUE)
        return 1;
    HANDLE done = CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (done != INVALID_HANDLE_VALUE)
        CloseHandle(done);
    Sleep(seconds * 1000);
    CloseHandle(held);
    return 0;
}

int CommandServiceHold(const wchar_t* name, const wchar_t* marker, DWORD seconds)
{
    SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? OpenServiceW(manager, name, SERVICE_QUERY_STATUS) : nullptr;
    if (!service)
        return 1;
    HANDLE done = CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (done != INVALID_HANDLE_VALUE)
        CloseHandle(done);
    Sleep(seconds * 1000);
    CloseServiceHandle(service);
    CloseServiceHandle(manager);
    return 0;
}

// The code pages of the session, which the Unix locale decides.
int CommandCodePages()
{
    Json::BeginObject();
    Json::Field("acp", static_cast<DWORD>(GetACP()));
    Json::Field("oemcp", static_cast<DWORD>(GetOEMCP()));
    Json::EndObject();
    Json::End();
    return 0;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2)
        return 3;
    const wchar_t* command = argv[1];
    if (wcscmp(command, L"spooler") == 0)
        return CommandSpooler(argc > 2 ? argv[2] : nullptr);
    if (wcscmp(command, L"codepages") == 0)
        return CommandCodePages();
    if (argc < 3)
        return 3;
    if (wcscmp(command, L"printerdata") == 0 && argc > 3)
        return CommandPrinterData(argv[2], argv[3]);
    if (wcscmp(command, L"printerdata-set") == 0 && argc > 4)
        return CommandPrinterDataSet(argv[2], argv[3], wcstoul(argv[4], nullptr, 10));
    if (wcscmp(command, L"printer-add") == 0 && argc > 4)
        return CommandPrinterAdd(argv[2], argv[3], argv[4]);
    if (wcscmp(command, L"printer-delete") == 0)
        return CommandPrinterDelete(argv[2]);
    if (wcscmp(command, L"driver-copy") == 0 && argc > 3)
        return CommandDriverCopy(argv[2], argv[3]);
    if (wcscmp(command, L"service") == 0)
        return CommandService(argv[2]);
    if (wcscmp(command, L"service-start-type") == 0 && argc > 3)
        return CommandServiceStartType(argv[2], wcstoul(argv[3], nullptr, 10));
    if (wcscmp(command, L"reg") == 0)
        return CommandRegistry(argv[2]);
    if (wcscmp(command, L"regtree") == 0)
        return CommandRegistryTree(argv[2]);
    if (wcscmp(command, L"device-add") == 0)
        return CommandDeviceAdd(argv[2]);
    if (wcscmp(command, L"device-remove") == 0)
        return CommandDeviceRemove(argv[2]);
    if (wcscmp(command, L"devices") == 0)
        return CommandDevices(argv[2]);
    if (wcscmp(command, L"oeminf") == 0)
        return CommandOemInf(argv[2]);
    if (wcscmp(command, L"service-hold") == 0 && argc > 4)
        return CommandServiceHold(argv[2], argv[3], wcstoul(argv[4], nullptr, 10));
    if (wcscmp(command, L"hold") == 0 && argc > 4)
        return CommandHold(argv[2], argv[3], wcstoul(argv[4], nullptr, 10));
    return 3;
}
