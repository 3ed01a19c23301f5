#include "installer/steps/uninstall_entry.h"

#include <string.h>
#include <windows.h>

#include "common/names.h"
#include "common/path_text.h"
#include "common/product.h"
#include "common/step_log.h"

namespace {

// Each setter keeps the first error in error.
void SetText(HKEY key, const char* name, const char* text, LONG& error)
{
    // The stored length counts the terminating zero.
    const LONG set = ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                      static_cast<DWORD>(strlen(text) + 1));
    if (error == ERROR_SUCCESS)
        error = set;
}

// The product's Chinese name, written as UTF-16 whatever the ANSI code page.
const wchar_t kDisplayName[] = L"Varnek标牌打印机驱动";

void SetNumber(HKEY key, const char* name, DWORD number, LONG& error)
{
    const LONG set = ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    if (error == ERROR_SUCCESS)
        error = set;
}

// The package's files in folder, in KB rounded up: the entry is written
// before the driver files move out of the folder, and a folder that is not
// ours may hold files of the user's that are no part of the installation.
DWORD InstalledSizeKb(const char* folder)
{
    ULONGLONG bytes = 0;
    for (const ProductMember& member : kProductMembers) {
        char path[kPathBufferSize];
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (ComposePath(path, sizeof path, "%s\\%s", folder, member.name) &&
            ::GetFileAttributesExA(path, GetFileExInfoStandard, &data) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            bytes += (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return static_cast<DWORD>((bytes + 1023) / 1024);
}

unsigned long WriteEntry(const char* installFolder)
{
    char command[kPathBufferSize], quietCommand[kPathBufferSize], icon[kPathBufferSize];
    if (!ComposePath(command, sizeof command, "\"%s\\" VARNEK_UNINSTALLER_FILE "\"", installFolder) ||
        !ComposePath(quietCommand, sizeof quietCommand, "%s /S", command) ||
        !ComposePath(icon, sizeof icon, "%s\\" VARNEK_UNINSTALLER_FILE ",0", installFolder))
        return ERROR_FILENAME_EXCED_RANGE;
    HKEY key;
    // KEY_WOW64_64KEY: the settings list of 64-bit Windows reads the native view.
    LONG error = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, VARNEK_UNINSTALL_KEY, 0, nullptr, 0,
                                   KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr);
    if (error != ERROR_SUCCESS)
        return static_cast<unsigned long>(error);
    error = ::RegSetValueExW(key, L"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(kDisplayName),
                             sizeof kDisplayName);
    SetText(key, "DisplayVersion", VARNEK_PACKAGE_VERSION, error);
    SetText(key, "Publisher", "Varnek", error);
    SetText(key, "InstallLocation", installFolder, error);
    SetText(key, "DisplayIcon", icon, error);
    SetText(key, "UninstallString", command, error);
    SetText(key, "QuietUninstallString", quietCommand, error);
    SetNumber(key, "EstimatedSize", InstalledSizeKb(installFolder), error);
    SetNumber(key, "NoModify", 1, error);
    SetNumber(key, "NoRepair", 1, error);
    ::RegCloseKey(key);
    return static_cast<unsigned long>(error);
}

}  // namespace

InstallOutcome WriteUninstallEntry(const Installation& installation)
{
    const unsigned long error = WriteEntry(installation.folder);
    LogResult("uninstall entry", VARNEK_UNINSTALL_KEY, error);
    return error == 0 ? InstallOutcome::kInstalled : InstallOutcome::kUninstallEntryFailed;
}
