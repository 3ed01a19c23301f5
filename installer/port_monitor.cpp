#include "installer/port_monitor.h"

#include <winspool.h>

#include "common/chinese_text.h"
#include "common/names.h"
#include "common/spooler_env.h"
#include "installer/port_error_text.h"

void ShowPortErrorBox(DWORD code)
{
    wchar_t* systemText = nullptr;
    // Code 0 would read "The operation completed successfully".
    if (code != ERROR_SUCCESS)
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                         nullptr, code, 0, reinterpret_cast<wchar_t*>(&systemText), 0, nullptr);
    char numbered[128];
    WideText fallback(!systemText && ComposePortErrorText(numbered, sizeof numbered, code) ? numbered : "");
    ::MessageBoxW(nullptr, systemText ? systemText : fallback, L"ERROR", MB_OK | MB_ICONINFORMATION);
    if (systemText)
        ::LocalFree(systemText);
}

DWORD AddPortMonitor()
{
    MONITOR_INFO_2A info = {};
    info.pName = const_cast<char*>(VARNEK_PORT_MONITOR);
    info.pEnvironment = const_cast<char*>(SpoolerEnvironment());
    info.pDLLName = const_cast<char*>(VARNEK_MONITOR_LIBRARY);
    return ::AddMonitorA(nullptr, 2, reinterpret_cast<BYTE*>(&info)) ? ERROR_SUCCESS : ::GetLastError();
}

bool AddUsbPort(DWORD& error)
{
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
    HANDLE xcv;
    if (!::OpenPrinterA(const_cast<char*>(",XcvMonitor " VARNEK_PORT_MONITOR), &xcv, &defaults)) {
        error = ::GetLastError();
        return false;
    }
    static const wchar_t port[] = L"" VARNEK_PORT;
    static_assert(sizeof port == 20, "the port name with its terminator, in UTF-16");
    BYTE output[260];
    DWORD needed = 0;
    DWORD status = ERROR_SUCCESS;
    bool added = true;
    if (!::XcvDataW(xcv, L"AddPort", reinterpret_cast<BYTE*>(const_cast<wchar_t*>(port)), sizeof port, output,
                    sizeof output, &needed, &status)) {
        // A failed call that left no status still has its own error code.
        error = status != ERROR_SUCCESS ? status : ::GetLastError();
        added = false;
    }
    ::ClosePrinter(xcv);
    return added;
}
