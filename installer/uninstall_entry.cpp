#include "installer/uninstall_entry.h"

#include <string.h>
#include <windows.h>

#include "common/installed_files.h"
#include "common/names.h"
#include "common/path_text.h"

namespace {

void SetText(HKEY key, const char* name, const char* text)
{
    // The stored length counts the terminating zero.
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), static_cast<DWORD>(strlen(text) + 1));
}

// The product's Chinese name, written as UTF-16 whatever the ANSI code page.
const wchar_t kDisplayName[] = L"Varnek标牌打印机驱动";

void SetNumber(HKEY key, const char* name, DWORD number)
{
    ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
}

// The package's files in folder, in KB rounded up: the entry is written
// before the driver files move out of the folder, and a folder that is not
// ours may hold files of the user's that are no part of the installation.
DWORD InstalledSizeKb(const char* folder)
{
    ULONGLONG bytes = 0;
    for (int i = 0; i < kInstalledFileCount; ++i) {
        char path[kPathBufferSize];
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (ComposePath(path, sizeof path, "%s\\%s", folder, kInstalledFileNames[i]) &&
            ::GetFileAttributesExA(path, GetFileExInfoStandard, &data) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            bytes += (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return static_cast<DWORD>((bytes + 1023) / 1024);
}

}  // namespace

void WriteUninstallEntry(const char* installFolder)
{
    char command[kPathBufferSize], quietCommand[kPathBufferSize], icon[kPathBufferSize];
    if (!ComposePath(command, sizeof command, "\"%s\\" VARNEK_UNINSTALLER_FILE "\"", installFolder) ||
        !ComposePath(quietCommand, sizeof quietCommand, "%s /S", command) ||
        !ComposePath(icon, sizeof icon, "%s\\" VARNEK_UNINSTALLER_FILE ",0", installFolder))
        return;
    HKEY key;
    // KEY_WOW64_64KEY: the settings list of 64-bit Windows reads the native view.
    if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, VARNEK_UNINSTALL_KEY, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                          nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExW(key, L"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(kDisplayName), sizeof kDisplayName);
    SetText(key, "DisplayVersion", VARNEK_PACKAGE_VERSION);
    SetText(key, "Publisher", "Varnek");
    SetText(key, "InstallLocation", installFolder);
    SetText(key, "DisplayIcon", icon);
    SetText(key, "UninstallString", command);
    SetText(key, "QuietUninstallString", quietCommand);
    SetNumber(key, "EstimatedSize", InstalledSizeKb(installFolder));
    SetNumber(key, "NoModify", 1);
    SetNumber(key, "NoRepair", 1);
    ::RegCloseKey(key);
}
