#include "common/ensure_folder.h"

#include <string.h>

#include "common/folder_acl.h"
#include "common/folder_rules.h"
#include "common/reparse_points.h"

namespace {

// Walks the levels of path from the drive root down, each opened and held
// while the levels below it are judged; with security, a missing level is
// created with it, else the walk ends there as far as it went. takeBack:
// an existing last level that is not admin-only may be taken back.
bool WalkLevels(const char* path, SECURITY_ATTRIBUTES* security, bool takeBack)
{
    HeldLevels held;
    bool reached = false;
    const bool failed = AnyLevelOf(path, [&](const char* level) {
        const bool last = strlen(level) == strlen(path);
        bool created = false;
        HANDLE handle = OpenLevel(level);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
                return true;
            if (!security) {
                // What is missing is checked when it is made; a missing
                // drive is no folder to make.
                reached = strlen(level) > 3;
                return true;
            }
            if (!::CreateDirectoryA(level, security))
                return true;
            handle = OpenLevel(level);
            if (handle == INVALID_HANDLE_VALUE)
                return true;
            created = true;
        }
        // A level made just now carries our descriptor; one that existed is
        // judged by its own.
        if (!IsPlainFolder(handle, level) ||
            (!created && !FolderMeetsRule(handle, last ? FolderRule::kFolder : FolderRule::kLevelAbove) &&
             !(last && takeBack && TakeBackFolder(handle)))) {
            ::CloseHandle(handle);
            return true;
        }
        reached = last;
        return !held.Add(handle, level);
    });
    return reached && (!failed || !security);
}

}  // namespace

bool IsFolderPathUsable(const char* path)
{
    return WalkLevels(path, nullptr, false);
}

bool EnsureFolderPath(const char* path)
{
    CreatedFolderSecurity security;
    return security.Attributes() && WalkLevels(path, security.Attributes(), false);
}

bool EnsureDataFolderPath(const char* path)
{
    CreatedFolderSecurity security;
    return security.Attributes() && WalkLevels(path, security.Attributes(), true);
}
