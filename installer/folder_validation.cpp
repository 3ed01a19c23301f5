#include "installer/folder_validation.h"

#include <windows.h>

#include "common/ensure_folder.h"
#include "common/install_folder.h"
#include "common/path_text.h"
#include "installer/data_folder.h"

bool DefaultInstallFolder(char* buffer, size_t size)
{
    DWORD n = ::ExpandEnvironmentStringsA("%ProgramFiles%\\VarnekPrinter", buffer, static_cast<DWORD>(size));
    // A default that does not fit is left empty rather than cut short.
    if (n == 0 || n > size) {
        CopyText(buffer, size, "");
        return false;
    }
    return true;
}

InstallOutcome ValidateInstallFolder(const char* folder)
{
    if (folder[0] == '\0')
        return InstallOutcome::kFolderEmpty;
    // Removal empties the whole folder tree: system and shared folders are
    // refused before anything is created.
    if (!IsUsableInstallFolder(folder) || !EnsureFolderPath(folder) || !SettleDataFolder(folder))
        return InstallOutcome::kFolderInvalid;
    return InstallOutcome::kInstalled;
}
