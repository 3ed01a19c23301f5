// Stand-in for VKPrinterService.exe: a minimal Windows service. It registers
// with the service control manager, reports running, and stops on request;
// it watches no printer. The vendor's program replaces it.
#include <windows.h>

#include <stdio.h>

#include "common/names.h"

namespace {

SERVICE_STATUS_HANDLE g_hStatus;
HANDLE g_hStopEvent;

void ReportState(DWORD state)
{
    SERVICE_STATUS status = {};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
    status.dwWin32ExitCode = NO_ERROR;
    // The manager waits up to this long for the next report of a pending state.
    status.dwWaitHint = state == SERVICE_STOP_PENDING || state == SERVICE_START_PENDING ? 3000 : 0;
    ::SetServiceStatus(g_hStatus, &status);
}

DWORD WINAPI ControlHandler(DWORD control, DWORD, LPVOID, LPVOID)
{
    switch (control) {
    case SERVICE_CONTROL_STOP:
    case SERVICE_CONTROL_SHUTDOWN:
        ReportState(SERVICE_STOP_PENDING);
        ::SetEvent(g_hStopEvent);
        return NO_ERROR;
    case SERVICE_CONTROL_INTERROGATE:
        return NO_ERROR;
    default:
        return ERROR_CALL_NOT_IMPLEMENTED;
    }
}

void WINAPI ServiceMain(DWORD, LPSTR*)
{
    g_hStatus = ::RegisterServiceCtrlHandlerExA(VARNEK_SERVICE, ControlHandler, nullptr);
    if (!g_hStatus)
        return;
    ReportState(SERVICE_START_PENDING);
    g_hStopEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!g_hStopEvent) {
        ReportState(SERVICE_STOPPED);
        return;
    }
    ReportState(SERVICE_RUNNING);
    ::WaitForSingleObject(g_hStopEvent, INFINITE);
    ::CloseHandle(g_hStopEvent);
    ReportState(SERVICE_STOPPED);
}

}  // namespace

int main()
{
    SERVICE_TABLE_ENTRYA services[] = {
        {const_cast<LPSTR>(VARNEK_SERVICE), ServiceMain},
        {nullptr, nullptr},
    };
    if (!::StartServiceCtrlDispatcherA(services)) {
        fprintf(stderr, "VKPrinterService runs only as the service \"%s\" (error %lu)\n", VARNEK_SERVICE,
                ::GetLastError());
        return 1;
    }
    return 0;
}
