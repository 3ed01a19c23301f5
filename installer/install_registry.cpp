#include "installer/install_registry.h"

#include <string.h>
#include <windows.h>

#include "common/names.h"
#include "common/path_text.h"

namespace {

void SetFolderValue(HKEY key, const char* name, const char* folder)
{
    char data[kPathBufferSize];
    if (!CopyText(data, sizeof data, folder))
        return;
    // The stored length counts the terminating zero.
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                     static_cast<DWORD>(strlen(data) + 1));
}

}  // namespace

void WriteInstallRegistry(const char* installFolder, const char* dataFolder)
{
    HKEY key;
    // KEY_WOW64_64KEY: the 64-bit components read the native view, not the
    // 32-bit installer's redirected one.
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, VARNEK_PRODUCT_KEY, 0, nullptr, 0,
                          KEY_ALL_ACCESS | KEY_WOW64_64KEY, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    SetFolderValue(key, "Data Directory", dataFolder);
    SetFolderValue(key, "Program Directory", installFolder);
    ::RegCloseKey(key);
}
