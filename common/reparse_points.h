// "Never through a link we did not make": a junction, a symbolic link or a
// mount point leads out of the folder it stands in. Every level from the
// drive root down is opened and held while the caller acts below it: a
// level held without FILE_SHARE_DELETE cannot be renamed, deleted or
// replaced by a link, so the level checked is the level used.
#pragma once

#include <windows.h>

#include "common/path_text.h"

// True when path exists and is a reparse point.
bool IsReparsePoint(const char* path);

// Each call below takes a path in the ANSI code page or in UTF-16 (the
// Start menu's Chinese names, whatever the ANSI code page); narrow paths are
// converted and take the same way.

// Opens an existing file or folder itself, never what a link points to,
// for its attributes and descriptor, without FILE_SHARE_DELETE.
// INVALID_HANDLE_VALUE when it cannot be opened.
HANDLE OpenLevel(const char* path);
HANDLE OpenLevel(const wchar_t* path);

// True when level, opened by OpenLevel from path, is a folder and no link.
bool IsPlainFolder(HANDLE level, const char* path);
bool IsPlainFolder(HANDLE level, const wchar_t* path);

// The levels of one canonical folder path, held open from the drive root
// down while the owner exists.
class HeldLevels {
public:
    HeldLevels() = default;
    ~HeldLevels() { Release(); }
    HeldLevels(const HeldLevels&) = delete;
    HeldLevels& operator=(const HeldLevels&) = delete;

    // Opens every level of folder ("X:\" to folder itself) and holds it;
    // false, holding nothing, when a level is missing, not a folder, or a
    // link. The levels it already holds for the folder before (the same
    // levels, still held, so unchanged) are kept rather than opened again.
    bool HoldFolder(const char* folder);
    bool HoldFolder(const wchar_t* folder);
    // Adds one more level, named by path, below the held ones; takes the
    // handle (closed when it cannot be held).
    bool Add(HANDLE level, const char* path);
    bool Add(HANDLE level, const wchar_t* path);
    void Release();

private:
    // A 255-character path has at most 128 levels.
    HANDLE m_levels[128];
    // The length of each held level's path within m_path.
    size_t m_ends[128];
    wchar_t m_path[kPathBufferSize] = L"";
    int m_count = 0;
};

// Holds the levels of the folder that holds path (every level above the
// item itself, which may be a link: deleting a link removes only the link).
bool HoldLevelsAbove(HeldLevels& held, const char* path);
bool HoldLevelsAbove(HeldLevels& held, const wchar_t* path);
