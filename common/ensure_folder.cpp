#include "common/ensure_folder.h"

#include <io.h>
#include <string.h>
#include <windows.h>

#include "common/dbcs.h"
#include "common/path_text.h"
#include "common/reparse_points.h"

namespace {

bool IsFolder(const char* path)
{
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const char* path)
{
    return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// A level that exists must be a folder and no link: what the installer
// writes below it must land where the path says. A missing one is created.
bool EnsureLevel(const char* path)
{
    if (Exists(path))
        return IsFolder(path) && !IsReparsePoint(path);
    return ::CreateDirectoryA(path, nullptr) != FALSE;
}

}  // namespace

bool EnsureFolderPath(const char* path)
{
    size_t length = strlen(path);
    // "X:" alone and "X:name" are relative to the drive's current folder.
    if (length < 3 || length >= kPathBufferSize || path[1] != ':' || path[2] != '\\')
        return false;
    char drive[3] = {path[0], ':', '\0'};
    if (_access(drive, 0) != 0)
        return false;

    char prefix[kPathBufferSize];
    for (const char* p = path + 3; *p; p = NextChar(p)) {
        if (*p != '\\')
            continue;
        size_t prefixLength = static_cast<size_t>(p - path);
        memcpy(prefix, path, prefixLength);
        prefix[prefixLength] = '\0';
        if (!EnsureLevel(prefix))
            return false;
        if (p[1] == '\0')
            return true;
    }
    return EnsureLevel(path);
}
