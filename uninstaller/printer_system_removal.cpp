#include "uninstaller/printer_system_removal.h"

#include <shlwapi.h>
#include <winspool.h>

#include "common/names.h"
#include "common/path_text.h"
#include "common/product.h"
#include "common/spooler_env.h"
#include "common/step_log.h"
#include "framework/afx.h"
#include "uninstaller/queue_selection.h"
#include "uninstaller/removal_forms.h"
#include "uninstaller/spooler_files.h"

static_assert(sizeof(char16_t) == sizeof(wchar_t), "UTF-16 names are Windows wide strings");
static_assert(kNetworkPrinterAttribute == PRINTER_ATTRIBUTE_NETWORK, "the connection test's attribute");

namespace {

const char kMonitorsKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors";
const REGSAM kMonitorKeyAccess = KEY_READ | KEY_SET_VALUE | KEY_CREATE_SUB_KEY;

char* Text(const char* text)
{
    return const_cast<char*>(text);
}

void DeleteRemovalForms(const char* printerName)
{
    HANDLE printer;
    if (!::OpenPrinterA(Text(printerName), &printer, nullptr))
        return;
    for (size_t i = 0; i < kRemovalFormCount; ++i)
        ::DeleteFormW(printer, reinterpret_cast<wchar_t*>(const_cast<char16_t*>(RemovalFormName(i))));
    ::ClosePrinter(printer);
}

void RemoveVarnekQueues()
{
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0, count = 0;
    // With no printer at all the first call may succeed and need nothing.
    if (!::EnumPrintersA(flags, Text(""), 2, nullptr, 0, &needed, &count) &&
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return;
    if (needed == 0 || needed > MAXDWORD - 4)
        return;
    const DWORD size = needed + 4;
    BYTE* buffer = static_cast<BYTE*>(::LocalAlloc(LPTR, size));
    if (!buffer)
        return;
    if (::EnumPrintersA(flags, Text(""), 2, buffer, size, &needed, &count)) {
        ForEachVarnekQueue(reinterpret_cast<const PRINTER_INFO_2A*>(buffer), count,
                           [](const PRINTER_INFO_2A& printer, bool withForms, bool connection) {
                               if (connection) {
                                   LogResult("delete connection", printer.pPrinterName,
                                             ::DeletePrinterConnectionA(printer.pPrinterName) ? ERROR_SUCCESS
                                                                                             : ::GetLastError());
                                   return;
                               }
                               if (withForms)
                                   DeleteRemovalForms(printer.pPrinterName);
                               DeletePrinterByName(printer.pPrinterName);
                           });
    }
    ::LocalFree(buffer);
}

// The records of a spooler enumeration by the two-call pattern: true with
// *records (LocalFree) and *count, or with null and 0 when there is nothing
// to list; false when the spooler does not answer.
template <class Enumerate>
bool Enumeration(Enumerate enumerate, BYTE** records, DWORD* count)
{
    *records = nullptr;
    *count = 0;
    DWORD needed = 0;
    // With nothing to list the first call may succeed and need nothing.
    if (enumerate(nullptr, 0, &needed, count))
        return true;
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0 || needed > MAXDWORD - 4)
        return false;
    const DWORD size = needed + 4;
    BYTE* buffer = static_cast<BYTE*>(::LocalAlloc(LPTR, size));
    if (!buffer)
        return false;
    if (!enumerate(buffer, size, &needed, count)) {
        ::LocalFree(buffer);
        return false;
    }
    *records = buffer;
    return true;
}

bool IsVarnekPort(const char* portName)
{
    BYTE* records;
    DWORD count;
    if (!Enumeration(
            [](BYTE* buffer, DWORD size, DWORD* needed, DWORD* n) {
                return ::EnumPortsA(nullptr, 2, buffer, size, needed, n);
            },
            &records, &count))
        return false;
    bool ours = records && IsPortOfMonitor(reinterpret_cast<const PORT_INFO_2A*>(records), count, portName,
                                           VARNEK_PORT_MONITOR);
    ::LocalFree(records);
    return ours;
}

HWND MainWindow()
{
    CWinApp* app = AfxGetApp();
    return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

}  // namespace

int RemovePrinterSystem()
{
    RemoveVarnekQueues();
    RemovePrinterDriver(VARNEK_PRINTER_DRIVER);
    RemovePrinterPort(MainWindow(), VARNEK_PORT);
    return RemovePortMonitor(VARNEK_PORT_MONITOR);
}

int DeletePrinterByName(const char* printerName)
{
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer;
    if (!::OpenPrinterA(Text(printerName), &printer, &defaults)) {
        LogResult("delete queue", printerName, ::GetLastError());
        return 0;
    }
    BOOL deleted = ::DeletePrinter(printer);
    LogResult("delete queue", printerName, deleted ? ERROR_SUCCESS : ::GetLastError());
    ::ClosePrinter(printer);
    return deleted;
}

int RemovePrinterDriver(const char* driverName)
{
    BOOL deleted = ::DeletePrinterDriverA(nullptr, Text(SpoolerEnvironment()), Text(driverName));
    LogResult("delete driver", driverName, deleted ? ERROR_SUCCESS : ::GetLastError());
    // The spooler leaves the driver's files behind. A driver still
    // registered (a queue of another user's still uses it) keeps its data
    // file, as in the clean-up pass: without it the driver cannot be used.
    char driverDirectory[kPathBufferSize], dataFile[kPathBufferSize];
    if (!IsDriverRegistered(driverName) && GetDriverDirectory(driverDirectory, sizeof driverDirectory) &&
        ComposePath(dataFile, sizeof dataFile, "%s\\3\\%s", driverDirectory, MemberName(kDriverRoles.data)))
        ::DeleteFileA(dataFile);
    return deleted ? 1 : 0;
}

int RemovePrinterPort(HWND parent, const char* portName)
{
    // A port of that name that another monitor serves is someone else's.
    if (!IsVarnekPort(portName)) {
        LogStep("delete port", portName, "not ours", 0);
        return 0;
    }
    const BOOL deleted = ::DeletePortA(nullptr, parent, Text(portName));
    LogResult("delete port", portName, deleted ? ERROR_SUCCESS : ::GetLastError());
    return deleted ? 1 : 0;
}

bool IsDriverRegistered(const char* driverName)
{
    BYTE* records;
    DWORD count;
    if (!Enumeration(
            [](BYTE* buffer, DWORD size, DWORD* needed, DWORD* n) {
                return ::EnumPrinterDriversA(nullptr, Text(SpoolerEnvironment()), 1, buffer, size, needed, n);
            },
            &records, &count))
        return true;  // unknown counts as registered: its files must stay
    bool registered = false;
    const DRIVER_INFO_1A* drivers = reinterpret_cast<const DRIVER_INFO_1A*>(records);
    for (DWORD i = 0; records && i < count && !registered; ++i)
        registered = drivers[i].pName && strcmp(drivers[i].pName, driverName) == 0;
    ::LocalFree(records);
    return registered;
}

int RemovePortMonitor(const char* monitorName)
{
    BOOL deleted = ::DeleteMonitorA(nullptr, Text(SpoolerEnvironment()), Text(monitorName));
    LogResult("delete monitor", monitorName, deleted ? ERROR_SUCCESS : ::GetLastError());
    // A deleted monitor took its key along; a key still there is cleaned here.
    char monitorKey[kPathBufferSize];
    HKEY key;
    if (!ComposePath(monitorKey, sizeof monitorKey, "%s\\%s", kMonitorsKey, monitorName) ||
        ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, monitorKey, 0, kMonitorKeyAccess, &key) != ERROR_SUCCESS)
        return deleted ? 1 : 0;
    // Without "Driver" the spooler no longer loads the monitor at start,
    // even if the key itself cannot go.
    ::RegDeleteValueA(key, "Driver");
    ::RegCloseKey(key);
    HKEY monitors;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMonitorsKey, 0, kMonitorKeyAccess, &monitors) == ERROR_SUCCESS) {
        // The monitor keeps its ports in subkeys, and RegDeleteKey refuses a
        // key that has any.
        ::SHDeleteKeyA(monitors, monitorName);
        ::RegCloseKey(monitors);
    }
    DeleteMonitorLibrary();
    return deleted ? 1 : 0;
}
