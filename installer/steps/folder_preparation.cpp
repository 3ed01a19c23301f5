#include "installer/steps/folder_preparation.h"

#include <windows.h>

#include "common/clean_up_command.h"
#include "common/ensure_folder.h"
#include "common/folder_rules.h"
#include "common/install_folder.h"
#include "common/names.h"
#include "common/path_text.h"
#include "common/product.h"
#include "common/reparse_points.h"
#include "installer/steps/installation_paths.h"

namespace {

FolderState StateOf(const char* folder)
{
    if (::GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES)
        return FolderState::kMissing;
    char pattern[kPathBufferSize];
    // A folder that cannot be searched is not known to be empty.
    if (!ComposePath(pattern, sizeof pattern, "%s\\*", folder))
        return FolderState::kHoldsEntries;
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA(pattern, &entry);
    if (find == INVALID_HANDLE_VALUE)
        return FolderState::kHoldsEntries;
    FolderState state = FolderState::kEmpty;
    do {
        if (strcmp(entry.cFileName, ".") != 0 && strcmp(entry.cFileName, "..") != 0)
            state = FolderState::kHoldsEntries;
    } while (state == FolderState::kEmpty && ::FindNextFileA(find, &entry));
    ::FindClose(find);
    return state;
}

bool HoldsUninstaller(const char* folder)
{
    char path[kPathBufferSize];
    if (!ComposePath(path, sizeof path, "%s\\" VARNEK_UNINSTALLER_FILE, folder))
        return false;
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// folder: in long form, as the record names it.
bool IsFolderOurs(const char* folder)
{
    char recorded[kPathBufferSize] = "";
    ReadOwnedFolder(recorded, sizeof recorded);
    FolderState state = StateOf(folder);
    return IsFolderOursToRecord(state, folder, recorded, state == FolderState::kHoldsEntries && HoldsUninstaller(folder));
}

// A file the installation will write that exists as a symbolic link: the
// elevated installer would write through it wherever it points.
bool HoldsLinkedFile(const char* folder)
{
    for (const ProductMember& member : kProductMembers) {
        char path[kPathBufferSize];
        if (ComposePath(path, sizeof path, "%s\\%s", folder, member.name) && IsReparsePoint(path))
            return true;
    }
    return false;
}

// Removes the RunOnce value of a removal's clean-up pass (only that value,
// only when it runs our uninstaller): after a reinstallation the pass would
// take the new installation's files at the next logon.
void CancelPendingCleanUp()
{
    HKEY key;
    // The 64-bit view, where the uninstaller writes the value.
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, VARNEK_RUN_ONCE_KEY, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY,
                        &key) != ERROR_SUCCESS)
        return;
    char data[2 * kPathBufferSize + 8];
    DWORD type = 0, bytes = sizeof data - 1;
    if (::RegQueryValueExA(key, VARNEK_RUN_ONCE_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes) ==
            ERROR_SUCCESS &&
        type == REG_SZ) {
        // The stored data need not end in a zero.
        data[bytes] = '\0';
        if (RunsOurCleanUpPass(data))
            ::RegDeleteValueA(key, VARNEK_RUN_ONCE_VALUE);
    }
    ::RegCloseKey(key);
}

// The data folder of this Windows (LocateDataFolder), created if missing; on
// Windows before 6.0 the installation folder itself. False when the Windows
// version or folder cannot be read or the folder cannot be created.
bool SettleDataFolder(const char* installFolder, char* dataFolder, size_t size)
{
    if (!LocateDataFolder(dataFolder, size))
        return false;
    if (!dataFolder[0])
        return CopyText(dataFolder, size, installFolder);
    return EnsureDataFolderPath(dataFolder);
}

}  // namespace

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

InstallOutcome PrepareInstallation(const char* typed, Installation& installation)
{
    if (!typed[0])
        return InstallOutcome::kFolderEmpty;
    char text[kPathBufferSize];
    char* folder = installation.folder;
    if (!CanonicalFolderText(typed, text, sizeof text) || !LongFolderPath(text, folder, sizeof installation.folder))
        return InstallOutcome::kFolderInvalid;
    if (!IsUsableInstallFolder(folder) || !FitsInstallationPaths(folder) || HoldsLinkedFile(folder))
        return InstallOutcome::kFolderInvalid;
    // Decided before the folder is created: a folder made now is ours.
    installation.ownsFolder = IsFolderOurs(folder);
    // EnsureFolderPath refuses a level that is a junction or link, or that
    // an ordinary user may change, before it creates anything below it. Both
    // folders are checked before either is made.
    if (!IsFolderPathUsable(folder) ||
        !SettleDataFolder(folder, installation.dataFolder, sizeof installation.dataFolder) ||
        HoldsLinkedFile(installation.dataFolder) || !EnsureFolderPath(folder))
        return InstallOutcome::kFolderInvalid;
    // A reinstallation: the clean-up pass a removal left for the next logon
    // would take this installation's files.
    CancelPendingCleanUp();
    // The record is settled before any file is written, so no run leaves
    // files in a folder whose record is stale.
    return RecordFolderOwnership(folder, installation.ownsFolder) ? InstallOutcome::kInstalled : InstallOutcome::kFolderInvalid;
}
