#include "installer/steps/install_registry.h"

#include <string.h>
#include <windows.h>

#include "common/names.h"
#include "common/path_text.h"
#include "common/step_log.h"

namespace {

LONG SetFolderValue(HKEY key, const char* name, const char* folder)
{
    char data[kPathBufferSize];
    if (!CopyText(data, sizeof data, folder))
        return ERROR_FILENAME_EXCED_RANGE;
    // The stored length counts the terminating zero.
    return ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                            static_cast<DWORD>(strlen(data) + 1));
}

LONG WriteFolderValues(const Installation& installation)
{
    HKEY key;
    // KEY_WOW64_64KEY: the 64-bit components read the native view, not the
    // 32-bit installer's redirected one.
    LONG error = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, VARNEK_PRODUCT_KEY, 0, nullptr, 0,
                                   KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key, nullptr);
    if (error != ERROR_SUCCESS)
        return error;
    const LONG data = SetFolderValue(key, "Data Directory", installation.dataFolder);
    const LONG program = SetFolderValue(key, "Program Directory", installation.folder);
    ::RegCloseKey(key);
    return data != ERROR_SUCCESS ? data : program;
}

}  // namespace

InstallOutcome WriteInstallRegistry(const Installation& installation)
{
    const LONG error = WriteFolderValues(installation);
    LogResult("product key", VARNEK_PRODUCT_KEY, static_cast<unsigned long>(error));
    return error == ERROR_SUCCESS ? InstallOutcome::kInstalled : InstallOutcome::kProductKeyFailed;
}
