#include "uninstaller/run_once.h"

#include <string.h>
#include <windows.h>

#include "common/path_text.h"
#include "uninstaller/command_line.h"
#include "uninstaller/module_path.h"

void RegisterRunOnceCleanup()
{
    char exePath[MAX_PATH], folder[kPathBufferSize], data[512];
    if (!GetOwnPath(exePath, sizeof exePath) || !FolderOfPath(folder, sizeof folder, exePath) ||
        !FormatRunOnceData(data, sizeof data, exePath, folder))
        return;
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce", 0,
                        KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, "DvxUninstaller", 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                     static_cast<DWORD>(strlen(data) + 1));
    ::RegCloseKey(key);
}
