#include "uninstaller/printer_service_removal.h"

#include <windows.h>

#include "common/names.h"

void RemovePrinterService()
{
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager)
        return;
    SC_HANDLE service = ::OpenServiceA(manager, VARNEK_SERVICE, SERVICE_ALL_ACCESS);
    if (!service) {
        ::CloseServiceHandle(manager);
        return;
    }
    SERVICE_STATUS status;
    ::ControlService(service, SERVICE_CONTROL_STOP, &status);
    ::DeleteService(service);
    // Both handles stay open until the uninstaller ends: while they are open
    // the service is only marked for deletion, and a marked service cannot
    // be started again while its program is being deleted.
}
