#include "installer/steps/printer_service.h"

#include <windows.h>

#include "common/names.h"
#include "common/path_text.h"
#include "common/step_log.h"
#include "installer/steps/installation_paths.h"

namespace {

const char kStep[] = "service";

// Time the service gets to stop and its process to end.
constexpr DWORD kStopTimeoutMs = 30000;
constexpr DWORD kPollMs = 250;

bool QueryState(SC_HANDLE service, SERVICE_STATUS_PROCESS& status)
{
    DWORD needed = 0;
    return ::QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status), sizeof status,
                                  &needed) != FALSE;
}

// Asks a running service to stop and waits for its process to end.
void StopAndWait(SC_HANDLE service, const SERVICE_STATUS_PROCESS& running)
{
    // Opened before the stop, so the wait is on this very process.
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, running.dwProcessId);
    SERVICE_STATUS status;
    if (!::ControlService(service, SERVICE_CONTROL_STOP, &status) && ::GetLastError() != ERROR_SERVICE_NOT_ACTIVE) {
        LogStep("stop service", VARNEK_SERVICE, "failed", ::GetLastError());
        if (process)
            ::CloseHandle(process);
        return;
    }
    const DWORD start = ::GetTickCount();
    SERVICE_STATUS_PROCESS now = running;
    while (QueryState(service, now) && now.dwCurrentState != SERVICE_STOPPED &&
           ::GetTickCount() - start < kStopTimeoutMs)
        ::Sleep(kPollMs);
    DWORD elapsed = ::GetTickCount() - start;
    const bool ended = !process || ::WaitForSingleObject(process, elapsed < kStopTimeoutMs
                                                                      ? kStopTimeoutMs - elapsed
                                                                      : 0) == WAIT_OBJECT_0;
    if (process)
        ::CloseHandle(process);
    if (now.dwCurrentState == SERVICE_STOPPED && ended)
        LogStep("stop service", VARNEK_SERVICE, "stopped", 0);
    else
        LogStep("stop service", VARNEK_SERVICE, "still running", WAIT_TIMEOUT);
}

// Points an existing service at the program of this installation; the rest
// of its configuration is the user's.
InstallOutcome UpdateExistingService(SC_HANDLE manager, const char* command, bool start)
{
    SC_HANDLE service = ::OpenServiceA(manager, VARNEK_SERVICE, SERVICE_CHANGE_CONFIG | SERVICE_START);
    if (!service) {
        LogStep(kStep, VARNEK_SERVICE, "failed to open", ::GetLastError());
        return InstallOutcome::kServiceFailed;
    }
    InstallOutcome outcome = InstallOutcome::kInstalled;
    if (!::ChangeServiceConfigA(service, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, SERVICE_NO_CHANGE, command, nullptr,
                                nullptr, nullptr, nullptr, nullptr, nullptr)) {
        LogStep(kStep, VARNEK_SERVICE, "failed to update", ::GetLastError());
        outcome = InstallOutcome::kServiceFailed;
    } else if (start && !::StartServiceA(service, 0, nullptr) && ::GetLastError() != ERROR_SERVICE_ALREADY_RUNNING) {
        LogStep(kStep, VARNEK_SERVICE, "updated, failed to start", ::GetLastError());
        outcome = InstallOutcome::kServiceFailed;
    } else {
        LogStep(kStep, VARNEK_SERVICE, start ? "updated, started" : "updated, left stopped", 0);
    }
    ::CloseServiceHandle(service);
    return outcome;
}

}  // namespace

void StopPrinterService(bool& wasRunning)
{
    wasRunning = false;
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (!manager) {
        LogStep("stop service", VARNEK_SERVICE, "no service manager", ::GetLastError());
        return;
    }
    SC_HANDLE service = ::OpenServiceA(manager, VARNEK_SERVICE, SERVICE_STOP | SERVICE_QUERY_STATUS);
    if (!service) {
        const DWORD error = ::GetLastError();
        LogStep("stop service", VARNEK_SERVICE, error == ERROR_SERVICE_DOES_NOT_EXIST ? "not installed" : "failed",
                error);
    } else {
        SERVICE_STATUS_PROCESS status;
        if (!QueryState(service, status)) {
            LogStep("stop service", VARNEK_SERVICE, "failed", ::GetLastError());
        } else if (status.dwCurrentState == SERVICE_STOPPED) {
            LogStep("stop service", VARNEK_SERVICE, "not running", 0);
        } else {
            wasRunning = true;
            StopAndWait(service, status);
        }
        ::CloseServiceHandle(service);
    }
    ::CloseServiceHandle(manager);
}

void ResumePrinterService()
{
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
    SC_HANDLE service = manager ? ::OpenServiceA(manager, VARNEK_SERVICE, SERVICE_START) : nullptr;
    LogResult("resume service", VARNEK_SERVICE,
              service && ::StartServiceA(service, 0, nullptr) ? ERROR_SUCCESS : ::GetLastError());
    if (service)
        ::CloseServiceHandle(service);
    if (manager)
        ::CloseServiceHandle(manager);
}

InstallOutcome InstallPrinterService(const Installation& installation, bool startExisting)
{
    char command[kPathBufferSize];
    if (!ComposeServiceCommand(command, sizeof command, installation.folder)) {
        LogStep(kStep, VARNEK_SERVICE, "path too long", ERROR_FILENAME_EXCED_RANGE);
        return InstallOutcome::kServiceFailed;
    }
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager) {
        LogStep(kStep, VARNEK_SERVICE, "no service manager", ::GetLastError());
        return InstallOutcome::kServiceFailed;
    }
    // No dependencies: an empty list. No account: the local system account.
    SC_HANDLE service = ::CreateServiceA(manager, VARNEK_SERVICE, VARNEK_SERVICE, SERVICE_ALL_ACCESS,
                                         SERVICE_WIN32_OWN_PROCESS | SERVICE_INTERACTIVE_PROCESS,
                                         SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, command, nullptr, nullptr,
                                         "", nullptr, nullptr);
    InstallOutcome outcome = InstallOutcome::kInstalled;
    if (service) {
        // Chinese whatever the ANSI code page: written as UTF-16.
        wchar_t text[] = L"Varnek打印机侦测服务";
        SERVICE_DESCRIPTIONW description = {text};
        ::ChangeServiceConfig2W(service, SERVICE_CONFIG_DESCRIPTION, &description);
        if (::StartServiceA(service, 0, nullptr)) {
            LogStep(kStep, VARNEK_SERVICE, "created, started", 0);
        } else {
            LogStep(kStep, VARNEK_SERVICE, "created, failed to start", ::GetLastError());
            outcome = InstallOutcome::kServiceFailed;
        }
        ::CloseServiceHandle(service);
    } else if (::GetLastError() == ERROR_SERVICE_EXISTS) {
        outcome = UpdateExistingService(manager, command, startExisting);
    } else {
        // ERROR_SERVICE_MARKED_FOR_DELETE among others: no service will run.
        LogStep(kStep, VARNEK_SERVICE, "failed to create", ::GetLastError());
        outcome = InstallOutcome::kServiceFailed;
    }
    ::CloseServiceHandle(manager);
    return outcome;
}
