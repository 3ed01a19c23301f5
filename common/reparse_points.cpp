#include "common/reparse_points.h"

#include "common/folder_rules.h"
#include "common/path_text.h"

bool IsReparsePoint(const char* path)
{
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

HANDLE OpenLevel(const char* path)
{
    // FILE_FLAG_BACKUP_SEMANTICS opens folders too (an administrator holds
    // the privilege); FILE_FLAG_OPEN_REPARSE_POINT opens a link itself.
    return ::CreateFileA(path, READ_CONTROL | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool IsLinkLevel(HANDLE level, const char* path)
{
    BY_HANDLE_FILE_INFORMATION info;
    if (!::GetFileInformationByHandle(level, &info))
        return true;
    // Wine opens the target of a Unix symbolic link whatever the flag says;
    // its path attributes still tell the link, and the held handle keeps
    // the path on the same object while both are read.
    return (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) || IsReparsePoint(path);
}

bool IsFolderLevel(HANDLE level)
{
    BY_HANDLE_FILE_INFORMATION info;
    return ::GetFileInformationByHandle(level, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool HeldLevels::HoldFolder(const char* folder)
{
    Release();
    const bool failed = AnyLevelOf(folder, [this](const char* path) {
        HANDLE level = OpenLevel(path);
        if (level == INVALID_HANDLE_VALUE)
            return true;
        if (IsLinkLevel(level, path) || !IsFolderLevel(level)) {
            ::CloseHandle(level);
            return true;
        }
        return !Add(level);
    });
    if (failed || m_count == 0) {
        Release();
        return false;
    }
    return true;
}

bool HeldLevels::Add(HANDLE level)
{
    if (m_count == static_cast<int>(sizeof m_levels / sizeof m_levels[0])) {
        ::CloseHandle(level);
        return false;
    }
    m_levels[m_count++] = level;
    return true;
}

void HeldLevels::Release()
{
    while (m_count > 0)
        ::CloseHandle(m_levels[--m_count]);
}

bool HoldLevelsAbove(HeldLevels& held, const char* path)
{
    char folder[kPathBufferSize];
    return FolderOfPath(folder, sizeof folder, path) && held.HoldFolder(folder);
}
