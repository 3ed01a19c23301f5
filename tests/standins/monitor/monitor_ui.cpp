// The user-interface side of the stand-in monitor (the library that the Xcv
// command "MonitorUI" names): Windows' AddPort and DeletePort reach the
// monitor through it. No dialogs: the monitor serves the printer's one port.
#include <windows.h>
#include <winspool.h>
#include <winsplp.h>

#include "tests/standins/monitor/port_registry.h"

namespace {

const wchar_t kXcvName[] = L",XcvMonitor " VARNEK_PORT_MONITOR;

// Sends an Xcv command with a port name to the monitor on this machine.
BOOL SendPortCommand(PCWSTR pszServer, const wchar_t* command, PCWSTR port)
{
    if (pszServer && pszServer[0]) {
        ::SetLastError(ERROR_NOT_SUPPORTED);  // the stand-in manages this machine only
        return FALSE;
    }
    PRINTER_DEFAULTSW defaults = {nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
    HANDLE hXcv;
    if (!::OpenPrinterW(const_cast<LPWSTR>(kXcvName), &hXcv, &defaults))
        return FALSE;
    DWORD needed = 0, status = ERROR_SUCCESS;
    const DWORD size = (lstrlenW(port) + 1) * sizeof(wchar_t);
    BOOL ok = ::XcvDataW(hXcv, command, reinterpret_cast<PBYTE>(const_cast<PWSTR>(port)), size, nullptr, 0,
                         &needed, &status);
    ::ClosePrinter(hXcv);
    if (ok && status != ERROR_SUCCESS) {
        ::SetLastError(status);
        return FALSE;
    }
    return ok;
}

BOOL WINAPI AddPortUI(PCWSTR pszServer, HWND, PCWSTR, PWSTR* ppszPortNameOut)
{
    if (ppszPortNameOut)
        *ppszPortNameOut = nullptr;
    return SendPortCommand(pszServer, L"AddPort", L"" VARNEK_PORT);
}

BOOL WINAPI ConfigurePortUI(PCWSTR, HWND, PCWSTR)
{
    // Nothing to configure: the documented answer for an unsupported request.
    ::SetLastError(ERROR_CANCELLED);
    return FALSE;
}

BOOL WINAPI DeletePortUI(PCWSTR pszServer, HWND, PCWSTR pszPortName)
{
    if (!pszPortName) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return SendPortCommand(pszServer, L"DeletePort", pszPortName);
}

MONITORUI g_monitorUi = {sizeof(MONITORUI), AddPortUI, ConfigurePortUI, DeletePortUI};

}  // namespace

extern "C" PMONITORUI WINAPI InitializePrintMonitorUI()
{
    return &g_monitorUi;
}
