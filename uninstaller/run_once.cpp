#include "uninstaller/run_once.h"

#include <string.h>
#include <windows.h>

#include "common/clean_up_command.h"
#include "common/path_text.h"
#include "common/step_log.h"
#include "uninstaller/command_line.h"
#include "uninstaller/module_path.h"

RemovalResult RegisterRunOnceCleanup()
{
    char exePath[MAX_PATH], folder[kPathBufferSize], data[512];
    if (!GetOwnPath(exePath, sizeof exePath) || !FolderOfPath(folder, sizeof folder, exePath) ||
        !FormatRunOnceData(data, sizeof data, exePath, folder)) {
        LogStep("run once", "DvxUninstaller", "path not usable", ERROR_BAD_PATHNAME);
        return RemovalResult::Failed(ERROR_BAD_PATHNAME);
    }
    HKEY key;
    // The 64-bit view, like the product key: the same value whether a 32-bit
    // or a 64-bit uninstaller writes it (ignored on 32-bit Windows).
    LONG error = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, VARNEK_RUN_ONCE_KEY, 0, KEY_READ | KEY_WRITE | KEY_WOW64_64KEY, &key);
    if (error == ERROR_SUCCESS) {
        error = ::RegSetValueExA(key, VARNEK_RUN_ONCE_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                                 static_cast<DWORD>(strlen(data) + 1));
        ::RegCloseKey(key);
    }
    LogResult("run once", data, static_cast<unsigned long>(error));
    return error == ERROR_SUCCESS ? RemovalResult::Done() : RemovalResult::Failed(static_cast<unsigned long>(error));
}
