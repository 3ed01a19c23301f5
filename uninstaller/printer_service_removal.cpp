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

RemovalResult RemovePrinterService()
{
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) {
        const DWORD error = ::GetLastError();
        LogResult("remove service", VARNEK_SERVICE, error);
        return RemovalResult::Failed(error);
    }
    SC_HANDLE service = ::OpenServiceA(manager, VARNEK_SERVICE, SERVICE_ALL_ACCESS);
    if (!service) {
        const DWORD error = ::GetLastError();
        const bool absent = error == ERROR_SERVICE_DOES_NOT_EXIST;
        LogStep("remove service", VARNEK_SERVICE, absent ? "not installed" : "failed", error);
        ::CloseServiceHandle(manager);
        return absent ? RemovalResult::NothingThere() : RemovalResult::Failed(error);
    }
    SERVICE_STATUS status;
    // The service holds the printer driver: the queues and the driver can be
    // deleted only once it has stopped.
    if (::ControlService(service, SERVICE_CONTROL_STOP, &status))
        WaitUntilStopped(service);
    const DWORD error = ::DeleteService(service) ? ERROR_SUCCESS : ::GetLastError();
    LogResult("remove service", VARNEK_SERVICE, error);
    // Both handles stay open until the uninstaller ends: while they are open
    // the service is only marked for deletion, and a marked service cannot
    // be started again while its program is being deleted.
    return error ? RemovalResult::Failed(error) : RemovalResult::Done();
}
