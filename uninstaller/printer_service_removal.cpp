#include "uninstaller/printer_service_removal.h"

#include <windows.h>

#include "common/names.h"
#include "common/step_log.h"

namespace {

// Long enough for a service that saves its state; short enough that a hung
// one does not hold the removal for long.
const DWORD kStopWaitMs = 10000;
const DWORD kPollMs = 100;

// Waits until the service reports "stopped", at most kStopWaitMs.
void WaitUntilStopped(SC_HANDLE service)
{
    const DWORD start = ::GetTickCount();
    SERVICE_STATUS status;
    while (::QueryServiceStatus(service, &status) && status.dwCurrentState != SERVICE_STOPPED &&
           ::GetTickCount() - start < kStopWaitMs)
        ::Sleep(kPollMs);
}

}  // namespace

void RemovePrinterService()
{
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) {
        LogResult("remove service", VARNEK_SERVICE, ::GetLastError());
        return;
    }
    SC_HANDLE service = ::OpenServiceA(manager, VARNEK_SERVICE, SERVICE_ALL_ACCESS);
    if (!service) {
        const DWORD error = ::GetLastError();
        LogStep("remove service", VARNEK_SERVICE, error == ERROR_SERVICE_DOES_NOT_EXIST ? "not installed" : "failed",
                error);
        ::CloseServiceHandle(manager);
        return;
    }
    SERVICE_STATUS status;
    // The service holds the printer driver: the queues and the driver can be
    // deleted only once it has stopped.
    if (::ControlService(service, SERVICE_CONTROL_STOP, &status))
        WaitUntilStopped(service);
    LogResult("remove service", VARNEK_SERVICE, ::DeleteService(service) ? ERROR_SUCCESS : ::GetLastError());
    // Both handles stay open until the uninstaller ends: while they are open
    // the service is only marked for deletion, and a marked service cannot
    // be started again while its program is being deleted.
}
