#include "uninstaller/file_removal.h"

#include <shlobj.h>
#include <string.h>

#include "common/chinese_text.h"
#include "common/folder_rules.h"
#include "common/install_folder.h"
#include "common/path_text.h"
#include "common/product.h"
#include "common/step_log.h"
#include "common/reparse_points.h"
#include "uninstaller/module_path.h"
#include "uninstaller/removal_progress.h"

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

}  // namespace

void ListFolderTree(const char* folder, CStringArray& files, CStringArray& folders)
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

void ListInstallationFolder(const char* folder, CStringArray& files, CStringArray& folders)
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

void CollectRemovalLists(char* folder, size_t size, CStringArray& files, CStringArray& folders)
{
    if (GetOwnFolder(folder, size))
        ListInstallationFolder(folder, files, folders);
}

void RemoveStartMenuEntries()
{
    const StartMenuEntry* const entries[] = {&kStartMenuEntry, &kEarlierStartMenuEntry};
    wchar_t programs[2][kPathBufferSize];
    const int programsCount = ProgramsFolders(programs);
    for (int i = 0; i < programsCount; ++i) {
        for (const StartMenuEntry* entry : entries) {
            wchar_t menuFolder[kPathBufferSize], shortcut[kPathBufferSize];
            if (!ComposeWide(menuFolder, kPathBufferSize, L"%ls\\%ls", programs[i], entry->folder) ||
                !ComposeWide(shortcut, kPathBufferSize, L"%ls\\%ls", menuFolder, entry->shortcut))
                continue;
            // A menu folder that is now a link leads elsewhere: only the link goes.
            const DWORD attributes = ::GetFileAttributesW(menuFolder);
            if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
                ::DeleteFileW(shortcut);
            ::RemoveDirectoryW(menuFolder);
        }
    }
}

void DeleteListedItems(const CStringArray& files, const CStringArray& folders, CProgressCtrl* progress)
{
    const int F = files.GetSize(), D = folders.GetSize(), T = F + D;
    // The tree may have changed since it was listed: a folder replaced by a
    // junction now leads elsewhere, so every level from the drive root down
    // to each item is checked and held as the item is reached. The item
    // itself may be a link: deleting it removes only the link. Levels the
    // previous item held for the same folder stay held, so unchanged.
    HeldLevels held;
    for (int i = 0; i < F; ++i) {
        if (!HoldLevelsAbove(held, files[i]))
            LogStep("delete file", files[i], "kept, link on the way", 0);
        else
            LogDeletion("delete file", files[i], ::DeleteFileA(files[i]) ? ERROR_SUCCESS : ::GetLastError());
        if (progress)
            progress->SetPos(ProgressPosition(i + 1, T));
    }
    for (int j = 0; j < D; ++j) {
        const char* folder = folders[D - 1 - j];
        if (!HoldLevelsAbove(held, folder))
            LogStep("delete folder", folder, "kept, link on the way", 0);
        else
            LogDeletion("delete folder", folder, ::RemoveDirectoryA(folder) ? ERROR_SUCCESS : ::GetLastError());
        if (progress)
            progress->SetPos(ProgressPosition(F + j + 1, T));
    }
}

void RemoveDataFolderSettings()
{
    // Before Windows 6.0 the settings file lies in the installation folder,
    // which is emptied with the package's files.
    char folder[kPathBufferSize], settings[kPathBufferSize];
    if (!LocateDataFolder(folder, sizeof folder) || !folder[0] ||
        !ComposePath(settings, sizeof settings, "%s\\%s", folder, MemberName(Member::kSettings)))
        return;
    // An ordinary user can create this folder as a junction into a system
    // folder before the installation: nothing is deleted through it.
    HeldLevels held;
    if (!held.HoldFolder(folder)) {
        LogStep("delete file", settings, "kept, link on the way", 0);
        return;
    }
    LogDeletion("delete file", settings, ::DeleteFileA(settings) ? ERROR_SUCCESS : ::GetLastError());
    held.Release();
    if (HoldLevelsAbove(held, folder))
        LogDeletion("delete folder", folder, ::RemoveDirectoryA(folder) ? ERROR_SUCCESS : ::GetLastError());
    else
        LogStep("delete folder", folder, "kept, link on the way", 0);
}
