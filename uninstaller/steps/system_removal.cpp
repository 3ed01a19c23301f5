#include "uninstaller/steps/system_removal.h"

#include <windows.h>

#include "common/names.h"
#include "common/step_log.h"

namespace {

// Long enough for a service that saves its state; short enough that a hung
// one does not hold the removal for long.
const DWORD kStopWaitMs = 10000;
const DWORD kPollMs = 100;

typedef LONG(WINAPI* DeleteKeyExProc)(HKEY, const char*, REGSAM, DWORD);

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

RemovalResult RemoveUninstallEntry()
{
    // The installer writes the entry in the 64-bit view, where a 32-bit
    // program reaches it only through RegDeleteKeyExA. That call is looked up
    // at run time: 32-bit Windows XP lacks it, and has no other view either.
    HMODULE advapi = ::GetModuleHandleA("advapi32.dll");
    DeleteKeyExProc deleteKeyEx =
        advapi ? reinterpret_cast<DeleteKeyExProc>(
                     reinterpret_cast<void (*)()>(::GetProcAddress(advapi, "RegDeleteKeyExA")))
               : nullptr;
    const LONG error = deleteKeyEx ? deleteKeyEx(HKEY_LOCAL_MACHINE, VARNEK_UNINSTALL_KEY, KEY_WOW64_64KEY, 0)
                                   : ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, VARNEK_UNINSTALL_KEY);
    LogStep("uninstall entry", VARNEK_UNINSTALL_KEY, error == ERROR_SUCCESS ? "removed" :
            error == ERROR_FILE_NOT_FOUND ? "not there" : "failed", static_cast<unsigned long>(error));
    return DeletionResult(static_cast<unsigned long>(error));
}

bool IsUninstallEntryPresent()
{
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, VARNEK_UNINSTALL_KEY, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}
