#include "common/reparse_points.h"

#include <windows.h>

#include "common/folder_rules.h"

bool IsReparsePoint(const char* path)
{
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool HasLinkedLevel(const char* path)
{
    if (strlen(path) < 3 || path[1] != ':')
        return IsReparsePoint(path);
    // The drive root itself is no link; every level below it is checked.
    const char root[4] = {path[0], ':', '\\', '\0'};
    return AnyLevelBetween(root, path, IsReparsePoint) || IsReparsePoint(path);
}

bool HasLinkBelow(const char* root, const char* path)
{
    return AnyLevelBetween(root, path, IsReparsePoint);
}
