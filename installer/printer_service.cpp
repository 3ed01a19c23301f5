#include "installer/printer_service.h"

#include <windows.h>

#include "common/names.h"
#include "common/path_text.h"
#include "installer/service_command.h"

void InstallPrinterService(const char* installFolder)
{
    char command[kPathBufferSize];
    if (!ComposeServiceCommand(command, sizeof command, installFolder))
        return;
    SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
    if (!manager)
        return;
    // No dependencies: an empty list. No account: the local system account.
    SC_HANDLE service = ::CreateServiceA(manager, VARNEK_SERVICE, VARNEK_SERVICE, SERVICE_ALL_ACCESS,
                                         SERVICE_WIN32_OWN_PROCESS | SERVICE_INTERACTIVE_PROCESS,
                                         SERVICE_AUTO_START, SERVICE_ERROR_NORMAL, command, nullptr, nullptr,
                                         "", nullptr, nullptr);
    if (service) {
        // Chinese whatever the ANSI code page: written as UTF-16.
        wchar_t text[] = L"Varnek打印机侦测服务";
        SERVICE_DESCRIPTIONW description = {text};
        ::ChangeServiceConfig2W(service, SERVICE_CONFIG_DESCRIPTION, &description);
        ::StartServiceA(service, 0, nullptr);
        ::CloseServiceHandle(service);
    }
    ::CloseServiceHandle(manager);
}
