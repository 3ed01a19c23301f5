#include "common/reparse_points.h"

#include <string.h>
#include <wchar.h>

#include "common/chinese_text.h"
#include "common/path_text.h"

bool IsReparsePoint(const char* path)
{
    DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

namespace {

// A path in the ANSI code page, as Windows' A functions read it, in UTF-16:
// one implementation below serves narrow and UTF-16 callers alike.
bool WidePath(const char* path, wchar_t (&wide)[kPathBufferSize])
{
    if (ToWide(CP_ACP, path, -1, wide, kPathBufferSize) >= 0)
        return true;
    ::SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return false;
}

}  // namespace

HANDLE OpenLevel(const wchar_t* path)
{
    // FILE_FLAG_BACKUP_SEMANTICS opens folders too (an administrator holds
    // the privilege); FILE_FLAG_OPEN_REPARSE_POINT opens a link itself.
    return ::CreateFileW(path, READ_CONTROL | FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

HANDLE OpenLevel(const char* path)
{
    wchar_t wide[kPathBufferSize];
    return WidePath(path, wide) ? OpenLevel(wide) : INVALID_HANDLE_VALUE;
}

bool IsPlainFolder(HANDLE level, const wchar_t* path)
{
    BY_HANDLE_FILE_INFORMATION info;
    // Wine opens the target of a Unix symbolic link whatever the flag says;
    // its path attributes still tell the link, and the held handle keeps
    // the path on the same object while both are read.
    const DWORD attributes = ::GetFileAttributesW(path);
    return ::GetFileInformationByHandle(level, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool IsPlainFolder(HANDLE level, const char* path)
{
    wchar_t wide[kPathBufferSize];
    return WidePath(path, wide) && IsPlainFolder(level, wide);
}

bool HeldLevels::HoldFolder(const wchar_t* folder)
{
    const size_t length = wcslen(folder);
    // "X:" and the levels below it; a separator that ends the path is refused.
    if (length < 3 || length >= kPathBufferSize || folder[1] != L':' || folder[2] != L'\\' ||
        (length > 3 && folder[length - 1] == L'\\')) {
        Release();
        return false;
    }
    // Keep the held levels that are levels of folder too.
    int kept = 0;
    while (kept < m_count) {
        const size_t end = m_ends[kept];
        if (end > length || wcsncmp(m_path, folder, end) != 0 ||
            (end != 3 && end < length && folder[end] != L'\\'))
            break;
        ++kept;
    }
    while (m_count > kept)
        ::CloseHandle(m_levels[--m_count]);
    if (m_count > 0 && m_ends[m_count - 1] == length)
        return true;
    // The root, the level before each separator, then the folder itself.
    for (size_t end = 3; end <= length; ++end) {
        const bool isLevel = end == 3 || end == length || folder[end] == L'\\';
        if (!isLevel || (m_count > 0 && end <= m_ends[m_count - 1]))
            continue;
        wchar_t path[kPathBufferSize];
        memcpy(path, folder, end * sizeof(wchar_t));
        path[end] = L'\0';
        HANDLE level = OpenLevel(path);
        if (level == INVALID_HANDLE_VALUE)
            break;
        if (!IsPlainFolder(level, path)) {
            ::CloseHandle(level);
            break;
        }
        if (!Add(level, path))
            break;
        if (end == length)
            return true;
    }
    Release();
    return false;
}

bool HeldLevels::HoldFolder(const char* folder)
{
    wchar_t wide[kPathBufferSize];
    if (WidePath(folder, wide))
        return HoldFolder(wide);
    Release();
    return false;
}

bool HeldLevels::Add(HANDLE level, const wchar_t* path)
{
    const size_t length = wcslen(path);
    if (m_count == static_cast<int>(sizeof m_levels / sizeof m_levels[0]) || length >= kPathBufferSize) {
        ::CloseHandle(level);
        return false;
    }
    memcpy(m_path, path, (length + 1) * sizeof(wchar_t));
    m_ends[m_count] = length;
    m_levels[m_count++] = level;
    return true;
}

bool HeldLevels::Add(HANDLE level, const char* path)
{
    wchar_t wide[kPathBufferSize];
    if (WidePath(path, wide))
        return Add(level, wide);
    ::CloseHandle(level);
    return false;
}

void HeldLevels::Release()
{
    while (m_count > 0)
        ::CloseHandle(m_levels[--m_count]);
    m_path[0] = L'\0';
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

bool HoldLevelsAbove(HeldLevels& held, const char* path)
{
    wchar_t wide[kPathBufferSize];
    return WidePath(path, wide) && HoldLevelsAbove(held, wide);
}
