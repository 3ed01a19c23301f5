#include "common/ensure_folder.h"

#include <string.h>

#include "common/folder_acl.h"
#include "common/folder_rules.h"
#include "common/reparse_points.h"

bool EnsureFolderPath(const char* path)
{
    CreatedFolderSecurity security;
    if (!security.Attributes())
        return false;
    HeldLevels held;
    bool reached = false;
    const bool failed = AnyLevelOf(path, [&](const char* level) {
        const bool last = strlen(level) == strlen(path);
        bool created = false;
        HANDLE handle = OpenLevel(level);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if ((error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) ||
                !::CreateDirectoryA(level, security.Attributes()))
                return true;
            handle = OpenLevel(level);
            if (handle == INVALID_HANDLE_VALUE)
                return true;
            created = true;
        }
        // A level made just now carries our descriptor; one that existed is
        // judged by its own.
        if (IsLinkLevel(handle, level) || !IsFolderLevel(handle) ||
            (!created && !FolderMeetsRule(handle, last ? FolderRule::kFolder : FolderRule::kLevelAbove))) {
            ::CloseHandle(handle);
            return true;
        }
        reached = last;
        return !held.Add(handle);
    });
    return !failed && reached;
}
