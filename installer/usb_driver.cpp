#include "installer/usb_driver.h"

#include <setupapi.h>

#include "common/names.h"
#include "common/path_text.h"
#include "common/usb_device_update.h"
#include "common/usb_helper_command.h"
#include "common/wow64_rules.h"
#include "installer/usb_driver_plan.h"

static_assert(kStoreMediaType == SPOST_PATH, "source media is a path");
static_assert(kStoreCopyStyle == SP_COPY_NEWER_OR_SAME, "copy only a newer or the same package");

namespace {

// The helper is extracted with the INF into the installation folder.
DWORD UpdateThroughHelper(const char* infPath)
{
    char folder[kPathBufferSize];
    char helper[kPathBufferSize];
    if (!FolderOfPath(folder, sizeof folder, infPath) ||
        !ComposePath(helper, sizeof helper, "%s\\" VARNEK_USB_HELPER_FILE, folder))
        return ERROR_FILENAME_EXCED_RANGE;
    return RunUsbDriverHelper(helper, infPath);
}

}  // namespace

DWORD RunUsbDriverHelper(const char* helperPath, const char* infPath)
{
    char command[kUsbHelperCommandSize];
    if (!ComposeUsbHelperCommand(command, sizeof command, helperPath, infPath))
        return ERROR_FILENAME_EXCED_RANGE;
    // The full path as the application name: no search for the program.
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(helperPath, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process))
        return ::GetLastError();
    ::CloseHandle(process.hThread);
    // No time limit: the device installation the helper makes has none either.
    DWORD code = ERROR_GEN_FAILURE;
    if (::WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(process.hProcess, &code))
        code = ERROR_GEN_FAILURE;
    ::CloseHandle(process.hProcess);
    return code;
}

DWORD InstallUsbDeviceDriver(const char* infPath)
{
    const bool throughHelper = CurrentProcessRunsUnderWow64();
    return InstallDriverPackage(
        infPath,
        [throughHelper](const char* inf) {
            return (throughHelper ? UpdateThroughHelper(inf) : UpdateUsbDeviceDriver(inf)) == 0;
        },
        [](const char* inf, unsigned mediaType, unsigned copyStyle) -> unsigned long {
            // No destination buffer: the store's name for the package is not needed.
            if (::SetupCopyOEMInfA(inf, nullptr, mediaType, copyStyle, nullptr, 0, nullptr, nullptr))
                return 0;
            return ::GetLastError();
        });
}
