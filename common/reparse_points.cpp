#include "common/reparse_points.h"

#include <string.h>
#include <wchar.h>

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

bool IsPlainFolder(HANDLE level, const char* path)
{
    BY_HANDLE_FILE_INFORMATION info;
    // Wine opens the target of a Unix symbolic link whatever the flag says;
    // its path attributes still tell the link, and the held handle keeps
    // the path on the same object while both are read.
    return ::GetFileInformationByHandle(level, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && !IsReparsePoint(path);
}

HANDLE OpenLevel(const wchar_t* path)
{
    return ::CreateFileW(path, READ_CONTROL | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

bool IsPlainFolder(HANDLE level, const wchar_t* path)
{
    BY_HANDLE_FILE_INFORMATION info;
    const DWORD attributes = ::GetFileAttributesW(path);
    return ::GetFileInformationByHandle(level, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool HeldLevels::HoldFolder(const char* folder)
{
    // Keep the held levels that are levels of folder too.
    int kept = 0;
    while (kept < m_count) {
        const size_t end = m_ends[kept];
        const char next = folder[end];
        if (strncmp(m_path, folder, end) != 0 || (next != '\\' && next != '\0' && end != 3))
            break;
        ++kept;
    }
    while (m_count > kept)
        ::CloseHandle(m_levels[--m_count]);
    const size_t keptEnd = m_count ? m_ends[m_count - 1] : 0;
    const bool failed = AnyLevelOf(folder, [this, keptEnd](const char* path) {
        if (strlen(path) <= keptEnd)
            return false;
        HANDLE level = OpenLevel(path);
        if (level == INVALID_HANDLE_VALUE)
            return true;
        if (!IsPlainFolder(level, path)) {
            ::CloseHandle(level);
            return true;
        }
        return !Add(level, path);
    });
    if (failed || m_count == 0 || m_ends[m_count - 1] != strlen(folder)) {
        Release();
        return false;
    }
    return true;
}

bool HeldLevels::Add(HANDLE level, const char* path)
{
    if (m_count == static_cast<int>(sizeof m_levels / sizeof m_levels[0]) || !CopyText(m_path, sizeof m_path, path)) {
        ::CloseHandle(level);
        return false;
    }
    m_ends[m_count] = strlen(path);
    m_levels[m_count++] = level;
    return true;
}

bool HeldLevels::HoldFolder(const wchar_t* folder)
{
    Release();
    const size_t length = wcslen(folder);
    if (length < 3 || length >= kPathBufferSize || folder[1] != L':' || folder[2] != L'\\')
        return false;
    // "X:\", then every level down to the folder itself. Only '\' separates
    // (the path is canonical); one that ends the path is refused.
    for (size_t end = 3; end <= length; ++end) {
        const bool isLevel = end == 3 || (end < length ? folder[end] == L'\\' : folder[end - 1] != L'\\');
        if (!isLevel)
            continue;
        wchar_t path[kPathBufferSize];
        memcpy(path, folder, end * sizeof(wchar_t));
        path[end] = L'\0';
        HANDLE level = OpenLevel(path);
        if (level == INVALID_HANDLE_VALUE)
            break;
        // Held without a narrow path: a later narrow HoldFolder keeps none.
        if (!IsPlainFolder(level, path) || m_count == static_cast<int>(sizeof m_levels / sizeof m_levels[0])) {
            ::CloseHandle(level);
            break;
        }
        m_ends[m_count] = 0;
        m_levels[m_count++] = level;
        if (end == length)
            return true;
    }
    Release();
    return false;
}

void HeldLevels::Release()
{
    while (m_count > 0)
        ::CloseHandle(m_levels[--m_count]);
    m_path[0] = '\0';
}

bool HoldLevelsAbove(HeldLevels& held, const char* path)
{
    char folder[kPathBufferSize];
    if (!FolderOfPath(folder, sizeof folder, path))
        return false;
    // An item in a drive root: "X:" stands for that root.
    if (strlen(folder) == 2) {
        folder[2] = '\\';
        folder[3] = '\0';
    }
    return held.HoldFolder(folder);
}

bool HoldLevelsAbove(HeldLevels& held, const wchar_t* path)
{
    const wchar_t* separator = wcsrchr(path, L'\\');
    if (!separator || separator == path)
        return false;
    // An item in a drive root keeps the root's separator: "X:\".
    size_t end = static_cast<size_t>(separator - path);
    if (end == 2)
        end = 3;
    wchar_t folder[kPathBufferSize];
    if (end >= kPathBufferSize)
        return false;
    memcpy(folder, path, end * sizeof(wchar_t));
    folder[end] = L'\0';
    return held.HoldFolder(folder);
}
