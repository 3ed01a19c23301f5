#include "uninstaller/steps/file_removal.h"

#include <shlobj.h>
#include <stdlib.h>
#include <string.h>

#include "common/chinese_text.h"
#include "common/folder_rules.h"
#include "common/install_folder.h"
#include "common/path_text.h"
#include "common/product.h"
#include "common/step_log.h"
#include "common/reparse_points.h"
#include "uninstaller/steps/hand_over.h"

namespace {

// Where the entries may lie: the shell's programs folder, and the fixed
// path at which earlier versions made them (the same folder on Chinese
// Windows before 6.0). Each folder once; the number found.
int ProgramsFolders(wchar_t (&folders)[2][kPathBufferSize])
{
    int count = 0;
    wchar_t shell[MAX_PATH];
    if (::SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, shell) == S_OK &&
        ComposeWide(folders[count], kPathBufferSize, L"%ls", shell))
        ++count;
    DWORD n = ::ExpandEnvironmentStringsW(WideText("%USERPROFILE%\\「开始」菜单\\程序"), folders[count], kPathBufferSize);
    // An unset %USERPROFILE% would leave a relative path behind.
    const wchar_t* expanded = folders[count];
    if (n > 0 && n <= kPathBufferSize && expanded[0] && expanded[1] == L':' && expanded[2] == L'\\' &&
        (count == 0 || ::lstrcmpiW(folders[0], expanded) != 0))
        ++count;
    return count;
}

bool IsDotEntry(const char* name)
{
    return strcmp(name, ".") == 0 || strcmp(name, "..") == 0;
}

// An item kept because a level above it is a link: the removal refuses it
// as Windows refuses a deletion it may not make.
RemovalResult KeptForLink(const char* step, const char* path)
{
    LogStep(step, path, "kept, link on the way", 0);
    return RemovalResult::Failed(ERROR_ACCESS_DENIED);
}

RemovalResult LoggedDeletion(const char* step, const char* path, BOOL deleted)
{
    const unsigned long error = deleted ? ERROR_SUCCESS : ::GetLastError();
    LogDeletion(step, path, error);
    return DeletionResult(error);
}

// A UTF-16 path as the log writes it, in the ANSI code page; a character the
// code page lacks shows as '?' in the log only.
struct LogPath {
    explicit LogPath(const wchar_t* path)
    {
        if (::WideCharToMultiByte(CP_ACP, 0, path, -1, text, sizeof text, nullptr, nullptr) <= 0)
            text[0] = '\0';
    }
    char text[kPathBufferSize];
};

// One Start-menu entry: the shortcut while every level down to its folder
// is held, then the folder while every level above it is held (a folder
// that is itself a link: only the link goes). An entry whose folder does not
// exist is nothing there.
RemovalResult RemoveStartMenuEntry(const wchar_t* menuFolder, const wchar_t* shortcut)
{
    if (::GetFileAttributesW(menuFolder) == INVALID_FILE_ATTRIBUTES)
        return RemovalResult::NothingThere();
    const LogPath shortcutText(shortcut), folderText(menuFolder);
    RemovalResult result;
    HeldLevels held;
    if (held.HoldFolder(menuFolder))
        result = LoggedDeletion("delete file", shortcutText.text, ::DeleteFileW(shortcut));
    else
        result = KeptForLink("delete file", shortcutText.text);
    held.Release();
    if (!HoldLevelsAbove(held, menuFolder))
        return Combined(result, KeptForLink("delete folder", folderText.text));
    return Combined(result, LoggedDeletion("delete folder", folderText.text, ::RemoveDirectoryW(menuFolder)));
}

}  // namespace

PathList::~PathList()
{
    for (int i = 0; i < m_count; ++i)
        free(m_items[i]);
    free(m_items);
}

bool PathList::Add(const char* path)
{
    if (m_count == m_capacity) {
        const int capacity = m_capacity ? m_capacity * 2 : 16;
        char** grown = static_cast<char**>(realloc(m_items, sizeof(char*) * capacity));
        if (!grown)
            return false;
        m_items = grown;
        m_capacity = capacity;
    }
    const size_t size = strlen(path) + 1;
    char* copy = static_cast<char*>(malloc(size));
    if (!copy)
        return false;
    memcpy(copy, path, size);
    m_items[m_count++] = copy;
    return true;
}

void ListFolderTree(const char* folder, PathList& files, PathList& folders)
{
    char pattern[kPathBufferSize];
    if (!ComposePath(pattern, sizeof pattern, "%s\\*.*", folder))
        return;
    WIN32_FIND_DATAA entry;
    HANDLE find = ::FindFirstFileA(pattern, &entry);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        char path[kPathBufferSize];
        // A path that does not fit is left out: it could not be deleted anyway.
        if (IsDotEntry(entry.cFileName) || !ComposePath(path, sizeof path, "%s\\%s", folder, entry.cFileName))
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            folders.Add(path);
            // A junction or directory link leads out of the tree: removing
            // the link is right, emptying its target is not.
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                ListFolderTree(path, files, folders);
        } else {
            files.Add(path);
        }
    } while (::FindNextFileA(find, &entry));
    ::FindClose(find);
}

void ListInstallationFolder(const char* folder, PathList& files, PathList& folders)
{
    // A folder that is itself a link, or lies below one, is not emptied:
    // its tree is elsewhere.
    HeldLevels held;
    if (IsOwnedInstallFolder(folder) && held.HoldFolder(folder)) {
        ListFolderTree(folder, files, folders);
        return;
    }
    for (const ProductMember& member : kProductMembers) {
        char path[kPathBufferSize];
        if (ComposePath(path, sizeof path, "%s\\%s", folder, member.name))
            files.Add(path);
    }
}

void CollectRemovalLists(char* folder, size_t size, PathList& files, PathList& folders)
{
    if (GetOwnFolder(folder, size))
        ListInstallationFolder(folder, files, folders);
}

RemovalResult RemoveStartMenuEntries()
{
    const StartMenuEntry* const entries[] = {&kStartMenuEntry, &kEarlierStartMenuEntry};
    wchar_t programs[2][kPathBufferSize];
    const int programsCount = ProgramsFolders(programs);
    RemovalResult result = RemovalResult::NothingThere();
    for (int i = 0; i < programsCount; ++i) {
        for (const StartMenuEntry* entry : entries) {
            wchar_t menuFolder[kPathBufferSize], shortcut[kPathBufferSize];
            if (!ComposeWide(menuFolder, kPathBufferSize, L"%ls\\%ls", programs[i], entry->folder) ||
                !ComposeWide(shortcut, kPathBufferSize, L"%ls\\%ls", menuFolder, entry->shortcut))
                continue;
            result = Combined(result, RemoveStartMenuEntry(menuFolder, shortcut));
        }
    }
    return result;
}

RemovalResult DeleteListedItems(const PathList& files, const PathList& folders, RemovalProgress* progress)
{
    const int F = files.Count(), D = folders.Count(), T = F + D;
    // The tree may have changed since it was listed: a folder replaced by a
    // junction now leads elsewhere, so every level from the drive root down
    // to each item is checked and held as the item is reached. The item
    // itself may be a link: deleting it removes only the link. Levels the
    // previous item held for the same folder stay held, so unchanged.
    HeldLevels held;
    RemovalResult result = RemovalResult::NothingThere();
    for (int i = 0; i < F; ++i) {
        if (!HoldLevelsAbove(held, files[i]))
            result = Combined(result, KeptForLink("delete file", files[i]));
        else
            result = Combined(result, LoggedDeletion("delete file", files[i], ::DeleteFileA(files[i])));
        if (progress)
            progress->SetPosition(ProgressPosition(i + 1, T));
    }
    for (int j = 0; j < D; ++j) {
        const char* folder = folders[D - 1 - j];
        if (!HoldLevelsAbove(held, folder))
            result = Combined(result, KeptForLink("delete folder", folder));
        else
            result = Combined(result, LoggedDeletion("delete folder", folder, ::RemoveDirectoryA(folder)));
        if (progress)
            progress->SetPosition(ProgressPosition(F + j + 1, T));
    }
    return result;
}

RemovalResult RemoveDataFolderSettings()
{
    // Before Windows 6.0 the settings file lies in the installation folder,
    // which is emptied with the package's files.
    char folder[kPathBufferSize], settings[kPathBufferSize];
    if (!LocateDataFolder(folder, sizeof folder))
        return RemovalResult::Failed(ERROR_BAD_PATHNAME);
    if (!folder[0])
        return RemovalResult::NothingThere();
    if (!ComposePath(settings, sizeof settings, "%s\\%s", folder, MemberName(Member::kSettings)))
        return RemovalResult::Failed(ERROR_BAD_PATHNAME);
    // An ordinary user can create this folder as a junction into a system
    // folder before the installation: nothing is deleted through it.
    HeldLevels held;
    if (!held.HoldFolder(folder)) {
        const RemovalResult kept = KeptForLink("delete file", settings);
        return ::GetFileAttributesA(folder) == INVALID_FILE_ATTRIBUTES ? RemovalResult::NothingThere() : kept;
    }
    const RemovalResult result = LoggedDeletion("delete file", settings, ::DeleteFileA(settings));
    held.Release();
    if (HoldLevelsAbove(held, folder))
        return Combined(result, LoggedDeletion("delete folder", folder, ::RemoveDirectoryA(folder)));
    return Combined(result, KeptForLink("delete folder", folder));
}
