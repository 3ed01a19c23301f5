// standin_probe: exercises the stand-in payload files through the Windows
// calls that use them, for the Wine tests. One command per run; results are
// printed as JSON; exit code 0 when the command ran, 3 for bad usage.
//
//   standin_probe addmonitor ENV            AddMonitorA "Varnek Monitor" / VarnekRt81.dll
//   standin_probe deletemonitor ENV         DeleteMonitorA
//   standin_probe xcv COMMAND [PORT] [ACCESS]  XcvDataW on ",XcvMonitor Varnek Monitor"
//   standin_probe enumports                 EnumPortsW level 2, the ports of "Varnek Monitor"
//   standin_probe deleteport PORT           DeletePortW
//   standin_probe copyoeminf INF            SetupCopyOEMInfA as the installer calls it
//   standin_probe installdevice INF         attach a device with the printer's hardware ID,
//                                           then the forced driver update
//   standin_probe modules FOLDER            load the stand-in DLLs and call their entry points
//   standin_probe portui add|delete [PORT]  the monitor's user-interface functions, as Windows'
//                                           AddPort and DeletePort call them
#define INITGUID
#include <windows.h>
#include <devguid.h>
#include <newdev.h>
#include <setupapi.h>
#include <winspool.h>

#include <stdio.h>
#include <wchar.h>

#include "tests/wine/sysprobe/json_out.h"

namespace {

const char kHardwareId[] = "USB\\VID_03eb&PID_2024";

void PrintResult(BOOL ok)
{
    printf("{\"ok\": %d, \"error\": %lu}\n", ok ? 1 : 0, ok ? 0ul : GetLastError());
}

int AddMonitor(wchar_t* environment)
{
    MONITOR_INFO_2W info = {const_cast<LPWSTR>(L"Varnek Monitor"), environment,
                            const_cast<LPWSTR>(L"VarnekRt81.dll")};
    PrintResult(AddMonitorW(nullptr, 2, reinterpret_cast<BYTE*>(&info)));
    return 0;
}

int Xcv(const wchar_t* command, const wchar_t* port, DWORD access)
{
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, access};
    HANDLE hXcv;
    if (!OpenPrinterW(const_cast<LPWSTR>(L",XcvMonitor Varnek Monitor"), &hXcv, &defaults)) {
        printf("{\"opened\": 0, \"error\": %lu}\n", GetLastError());
        return 0;
    }
    BYTE output[520] = {};
    DWORD needed = 0, status = 0xFFFFFFFF;
    const DWORD inputSize = port ? static_cast<DWORD>((wcslen(port) + 1) * sizeof(wchar_t)) : 0;
    BOOL ok = XcvDataW(hXcv, command, reinterpret_cast<BYTE*>(const_cast<wchar_t*>(port)), inputSize, output,
                       sizeof output - sizeof(wchar_t), &needed, &status);
    printf("{\"opened\": 1, \"ok\": %d, \"status\": %lu, \"needed\": %lu, \"output\": ", ok ? 1 : 0, status, needed);
    Json::Quote(reinterpret_cast<const wchar_t*>(output));
    printf("}\n");
    ClosePrinter(hXcv);
    return 0;
}

int EnumPorts()
{
    DWORD needed = 0, count = 0;
    EnumPortsW(nullptr, 2, nullptr, 0, &needed, &count);
    BYTE* buffer = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, needed + 4));
    BOOL ok = buffer && EnumPortsW(nullptr, 2, buffer, needed, &needed, &count);
    printf("{\"ok\": %d, \"ports\": [", ok ? 1 : 0);
    const PORT_INFO_2W* ports = reinterpret_cast<const PORT_INFO_2W*>(buffer);
    bool first = true;
    for (DWORD i = 0; ok && i < count; ++i) {
        if (!ports[i].pMonitorName || wcscmp(ports[i].pMonitorName, L"Varnek Monitor") != 0)
            continue;
        printf("%s{\"name\": ", first ? "" : ", ");
        Json::Quote(ports[i].pPortName);
        printf(", \"description\": ");
        Json::Quote(ports[i].pDescription ? ports[i].pDescription : L"");
        printf(", \"type\": %lu}", ports[i].fPortType);
        first = false;
    }
    printf("]}\n");
    HeapFree(GetProcessHeap(), 0, buffer);
    return 0;
}

int CopyOemInf(const char* inf)
{
    // As the installer calls it: source media a path, copy only when newer or the same.
    BOOL ok = SetupCopyOEMInfA(inf, nullptr, SPOST_PATH, SP_COPY_NEWER, nullptr, 0, nullptr, nullptr);
    PrintResult(ok);
    return 0;
}

int InstallDevice(const char* inf)
{
    HDEVINFO set = SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_USB, nullptr);
    SP_DEVINFO_DATA device = {};
    device.cbSize = sizeof device;
    char ids[sizeof kHardwareId + 1] = {};
    memcpy(ids, kHardwareId, sizeof kHardwareId);  // a multi-string: one ID and the final terminator
    BOOL attached = set != INVALID_HANDLE_VALUE &&
                    SetupDiCreateDeviceInfoA(set, "VarnekTestPrinter", &GUID_DEVCLASS_USB, nullptr, nullptr,
                                             DICD_GENERATE_ID, &device) &&
                    SetupDiSetDeviceRegistryPropertyA(set, &device, SPDRP_HARDWAREID,
                                                      reinterpret_cast<BYTE*>(ids), sizeof ids) &&
                    SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set, &device);
    DWORD attachError = attached ? 0 : GetLastError();
    BOOL reboot = FALSE;
    BOOL updated = attached && UpdateDriverForPlugAndPlayDevicesA(nullptr, kHardwareId, inf, INSTALLFLAG_FORCE,
                                                                   &reboot);
    printf("{\"attached\": %d, \"attach_error\": %lu, \"updated\": %d, \"error\": %lu}\n", attached ? 1 : 0,
           attachError, updated ? 1 : 0, updated ? 0ul : GetLastError());
    if (set != INVALID_HANDLE_VALUE)
        SetupDiDestroyDeviceInfoList(set);
    return 0;
}

template <typename Function>
Function Entry(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

HMODULE Load(const wchar_t* folder, const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    swprintf(path, MAX_PATH, L"%ls\\%ls", folder, name);
    return LoadLibraryW(path);
}

// Loads each stand-in library from folder and calls what the spooler, GDI
// or the universal driver would call.
int Modules(const wchar_t* folder)
{
    printf("{");
    HMODULE ui = Load(folder, L"UNIDRVUI.dll");
    auto driverEvent = Entry<BOOL(WINAPI*)(DWORD, DWORD, LPBYTE, LPARAM)>(ui, "DrvDriverEvent");
    auto printerEvent = Entry<BOOL(WINAPI*)(LPWSTR, INT, DWORD, LPARAM)>(ui, "DrvPrinterEvent");
    printf("\"DrvDriverEvent\": %d, ", driverEvent ? driverEvent(1, 3, nullptr, 0) : -1);
    printf("\"DrvPrinterEvent\": %d, ", printerEvent ? printerEvent(const_cast<LPWSTR>(L"x"), 3, 0, 0) : -1);

    HMODULE render = Load(folder, L"UNIDRV.dll");
    auto query = Entry<BOOL(WINAPI*)(DWORD, PVOID, DWORD, PDWORD)>(render, "DrvQueryDriverInfo");
    auto enable = Entry<BOOL(WINAPI*)(ULONG, ULONG, PVOID)>(render, "DrvEnableDriver");
    DWORD userMode = 0, needed = 0;
    const int queried = query ? query(1, &userMode, sizeof userMode, &needed) : -1;
    printf("\"DrvQueryDriverInfo\": %d, \"user_mode\": %lu, ", queried, userMode);
    printf("\"DrvEnableDriver\": %d, ", enable ? enable(0x20000, 0, nullptr) : -1);

    const wchar_t* const plugins[] = {L"VarnekUI.dll", L"VarnekUni.dll"};
    for (const wchar_t* name : plugins) {
        HMODULE plugin = Load(folder, name);
        auto getClass = Entry<HRESULT(WINAPI*)(REFCLSID, REFIID, LPVOID*)>(plugin, "DllGetClassObject");
        auto canUnload = Entry<HRESULT(WINAPI*)()>(plugin, "DllCanUnloadNow");
        void* object = &object;
        const HRESULT got = getClass ? getClass(IID_IUnknown, IID_IUnknown, &object) : -1L;
        Json::Quote(name);
        printf(": {\"DllGetClassObject\": %ld, \"object_null\": %d, \"DllCanUnloadNow\": %ld}, ", got,
               object == nullptr ? 1 : 0, canUnload ? canUnload() : -1L);
    }

    wchar_t resourcePath[MAX_PATH];
    swprintf(resourcePath, MAX_PATH, L"%ls\\UNIRES.DLL", folder);
    HMODULE resources = LoadLibraryExW(resourcePath, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    wchar_t text[128] = L"";
    printf("\"UNIRES_loaded\": %d, \"UNIRES_string1\": ", resources ? 1 : 0);
    if (resources)
        LoadStringW(resources, 1, text, 128);
    Json::Quote(text);

    HMODULE monitor = Load(folder, L"VarnekRt81.dll");
    printf(", \"InitializePrintMonitor2\": %d, \"InitializePrintMonitorUI\": %d}\n",
           Entry<void*>(monitor, "InitializePrintMonitor2") ? 1 : 0,
           Entry<void*>(monitor, "InitializePrintMonitorUI") ? 1 : 0);
    return 0;
}

int PortUi(const wchar_t* action, const wchar_t* port)
{
    typedef PVOID(WINAPI * InitializeUi)();
    struct MonitorUi {  // MONITORUI
        DWORD size;
        BOOL(WINAPI* addPortUI)(PCWSTR, HWND, PCWSTR, PWSTR*);
        BOOL(WINAPI* configurePortUI)(PCWSTR, HWND, PCWSTR);
        BOOL(WINAPI* deletePortUI)(PCWSTR, HWND, PCWSTR);
    };
    HMODULE monitor = LoadLibraryW(L"VarnekRt81.dll");
    auto initialize = Entry<InitializeUi>(monitor, "InitializePrintMonitorUI");
    const MonitorUi* ui = initialize ? static_cast<const MonitorUi*>(initialize()) : nullptr;
    if (!ui || ui->size < sizeof(MonitorUi)) {
        printf("{\"ok\": 0, \"error\": -1}\n");
        return 0;
    }
    PWSTR name = nullptr;
    if (wcscmp(action, L"add") == 0)
        PrintResult(ui->addPortUI(nullptr, nullptr, L"Varnek Monitor", &name));
    else
        PrintResult(ui->deletePortUI(nullptr, nullptr, port));
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
    char narrow[MAX_PATH] = "";
    if (argc > 2)
        WideCharToMultiByte(CP_ACP, 0, argv[2], -1, narrow, sizeof narrow, nullptr, nullptr);

    if (wcscmp(command, L"addmonitor") == 0 && argc == 3)
        return AddMonitor(argv[2]);
    if (wcscmp(command, L"deletemonitor") == 0 && argc == 3) {
        PrintResult(DeleteMonitorW(nullptr, argv[2], const_cast<LPWSTR>(L"Varnek Monitor")));
        return 0;
    }
    if (wcscmp(command, L"xcv") == 0 && argc >= 3)
        return Xcv(argv[2], argc > 3 ? argv[3] : nullptr, argc > 4 ? wcstoul(argv[4], nullptr, 0) : 1);
    if (wcscmp(command, L"enumports") == 0)
        return EnumPorts();
    if (wcscmp(command, L"deleteport") == 0 && argc == 3) {
        PrintResult(DeletePortW(nullptr, nullptr, argv[2]));
        return 0;
    }
    if (wcscmp(command, L"copyoeminf") == 0 && argc == 3)
        return CopyOemInf(narrow);
    if (wcscmp(command, L"installdevice") == 0 && argc == 3)
        return InstallDevice(narrow);
    if (wcscmp(command, L"modules") == 0 && argc == 3)
        return Modules(argv[2]);
    if (wcscmp(command, L"portui") == 0 && argc >= 3)
        return PortUi(argv[2], argc > 3 ? argv[3] : L"");
    return 3;
}
