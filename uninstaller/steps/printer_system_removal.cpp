#include "uninstaller/steps/printer_system_removal.h"

#include <shlwapi.h>
#include <winspool.h>

#include "common/names.h"
#include "common/path_text.h"
#include "common/product.h"
#include "common/spooler_env.h"
#include "common/step_log.h"
#include "common/wow64_redirection.h"
#include "uninstaller/steps/driver_file_removal.h"
#include "uninstaller/steps/printer_removal_rules.h"

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

RemovalResult RemoveVarnekQueues()
{
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0, count = 0;
    // With no printer at all the first call may succeed and need nothing.
    if (!::EnumPrintersA(flags, Text(""), 2, nullptr, 0, &needed, &count) &&
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return RemovalResult::Failed(::GetLastError());
    if (needed == 0)
        return RemovalResult::NothingThere();
    if (needed > MAXDWORD - 4)
        return RemovalResult::Failed(ERROR_INSUFFICIENT_BUFFER);
    const DWORD size = needed + 4;
    BYTE* buffer = static_cast<BYTE*>(::LocalAlloc(LPTR, size));
    if (!buffer)
        return RemovalResult::Failed(ERROR_NOT_ENOUGH_MEMORY);
    RemovalResult result = RemovalResult::NothingThere();
    if (::EnumPrintersA(flags, Text(""), 2, buffer, size, &needed, &count)) {
        ForEachVarnekQueue(reinterpret_cast<const PRINTER_INFO_2A*>(buffer), count,
                           [&result](const PRINTER_INFO_2A& printer, bool withForms, bool connection) {
                               if (connection) {
                                   const DWORD error = ::DeletePrinterConnectionA(printer.pPrinterName)
                                                           ? ERROR_SUCCESS
                                                           : ::GetLastError();
                                   LogResult("delete connection", printer.pPrinterName, error);
                                   result = Combined(result, error ? RemovalResult::Failed(error)
                                                                   : RemovalResult::Done());
                                   return;
                               }
                               if (withForms)
                                   DeleteRemovalForms(printer.pPrinterName);
                               result = Combined(result, DeletePrinterByName(printer.pPrinterName));
                           });
    } else {
        result = RemovalResult::Failed(::GetLastError());
    }
    ::LocalFree(buffer);
    return result;
}

// A spooler deletion by its error code: nothing there for the code that
// says the spooler does not know the object.
RemovalResult SpoolerResult(DWORD error, DWORD unknownObjectError)
{
    if (error == ERROR_SUCCESS)
        return RemovalResult::Done();
    return error == unknownObjectError ? RemovalResult::NothingThere() : RemovalResult::Failed(error);
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

}  // namespace

RemovalResult RemovePrinterSystem(HWND owner)
{
    RemovalResult result = RemoveVarnekQueues();
    result = Combined(result, RemovePrinterDriver(VARNEK_PRINTER_DRIVER));
    result = Combined(result, RemovePrinterPort(owner, VARNEK_PORT));
    return Combined(result, RemovePortMonitor(VARNEK_PORT_MONITOR));
}

RemovalResult DeletePrinterByName(const char* printerName)
{
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer;
    if (!::OpenPrinterA(Text(printerName), &printer, &defaults)) {
        const DWORD error = ::GetLastError();
        LogResult("delete queue", printerName, error);
        return RemovalResult::Failed(error);
    }
    const DWORD error = ::DeletePrinter(printer) ? ERROR_SUCCESS : ::GetLastError();
    LogResult("delete queue", printerName, error);
    ::ClosePrinter(printer);
    return error ? RemovalResult::Failed(error) : RemovalResult::Done();
}

RemovalResult RemovePrinterDriver(const char* driverName)
{
    const DWORD error = ::DeletePrinterDriverA(nullptr, Text(SpoolerEnvironment()), Text(driverName))
                            ? ERROR_SUCCESS
                            : ::GetLastError();
    LogResult("delete driver", driverName, error);
    // The spooler leaves the driver's files behind. A driver still
    // registered (a queue of another user's still uses it) keeps its data
    // file, as in the clean-up pass: without it the driver cannot be used.
    char driverDirectory[kPathBufferSize], dataFile[kPathBufferSize];
    if (!IsDriverRegistered(driverName) && GetDriverDirectory(driverDirectory, sizeof driverDirectory) &&
        ComposePath(dataFile, sizeof dataFile, "%s\\3\\%s", driverDirectory, MemberName(kDriverRoles.data)))
        ::DeleteFileA(dataFile);
    return SpoolerResult(error, ERROR_UNKNOWN_PRINTER_DRIVER);
}

RemovalResult RemovePrinterPort(HWND owner, const char* portName)
{
    // A port of that name that another monitor serves is someone else's.
    if (!IsVarnekPort(portName)) {
        LogStep("delete port", portName, "not ours", 0);
        return RemovalResult::NothingThere();
    }
    const DWORD error = ::DeletePortA(nullptr, owner, Text(portName)) ? ERROR_SUCCESS : ::GetLastError();
    LogResult("delete port", portName, error);
    return error ? RemovalResult::Failed(error) : RemovalResult::Done();
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

RemovalResult RemovePortMonitor(const char* monitorName)
{
    const DWORD error =
        ::DeleteMonitorA(nullptr, Text(SpoolerEnvironment()), Text(monitorName)) ? ERROR_SUCCESS : ::GetLastError();
    LogResult("delete monitor", monitorName, error);
    const RemovalResult deleted = SpoolerResult(error, ERROR_UNKNOWN_PRINT_MONITOR);
    // A deleted monitor took its key along; a key still there is cleaned here.
    char monitorKey[kPathBufferSize];
    HKEY key;
    if (!ComposePath(monitorKey, sizeof monitorKey, "%s\\%s", kMonitorsKey, monitorName) ||
        ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, monitorKey, 0, kMonitorKeyAccess, &key) != ERROR_SUCCESS)
        return deleted;
    // Without "Driver" the spooler no longer loads the monitor at start,
    // even if the key itself cannot go.
    ::RegDeleteValueA(key, "Driver");
    ::RegCloseKey(key);
    HKEY monitors;
    LSTATUS keyDeleted = ERROR_FILE_NOT_FOUND;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMonitorsKey, 0, kMonitorKeyAccess, &monitors) == ERROR_SUCCESS) {
        // The monitor keeps its ports in subkeys, and RegDeleteKey refuses a
        // key that has any.
        keyDeleted = ::SHDeleteKeyA(monitors, monitorName);
        ::RegCloseKey(monitors);
    }
    DeleteMonitorLibrary();
    // Taken out of the registry directly, the monitor is gone all the same.
    return keyDeleted == ERROR_SUCCESS ? RemovalResult::Done() : deleted;
}

bool GetDriverDirectory(char* buffer, size_t size)
{
    DWORD needed = 0;
    // The call fails rather than cut a path that does not fit.
    return ::GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(SpoolerEnvironment()), 1,
                                        reinterpret_cast<BYTE*>(buffer), static_cast<DWORD>(size), &needed) != 0;
}

RemovalResult DeleteDriverFiles(const char* driverDirectory)
{
    RemovalResult result = RemovalResult::NothingThere();
    // The spooler's folders are exempt from WOW64 redirection: no switch here.
    ForEachDriverFilePath(driverDirectory, [&result](const char* path) {
        const DWORD error = ::DeleteFileA(path) ? ERROR_SUCCESS : ::GetLastError();
        LogDeletion("delete file", path, error);
        result = Combined(result, DeletionResult(error));
    });
    return result;
}

RemovalResult DeleteMonitorLibrary()
{
    Wow64RedirectionOff nativeFileSystem;
    char systemDirectory[kPathBufferSize], library[kPathBufferSize];
    UINT n = ::GetSystemDirectoryA(systemDirectory, sizeof systemDirectory);
    if (n == 0 || n >= sizeof systemDirectory ||
        !ComposePath(library, sizeof library, "%s\\%s", systemDirectory, VARNEK_MONITOR_LIBRARY))
        return RemovalResult::Failed(ERROR_BAD_PATHNAME);
    const DWORD error = ::DeleteFileA(library) ? ERROR_SUCCESS : ::GetLastError();
    LogDeletion("delete file", library, error);
    return DeletionResult(error);
}
