#include "uninstaller/file_removal.h"

#include <string.h>

#include "common/folder_rules.h"
#include "common/install_folder.h"
#include "common/installed_files.h"
#include "common/path_text.h"
#include "common/reparse_points.h"
#include "uninstaller/module_path.h"
#include "uninstaller/removal_progress.h"

namespace {

struct StartMenuEntry {
    const char* folder;  // environment variables expanded
    const char* shortcut;
};

const StartMenuEntry kStartMenuEntries[] = {
    {"%USERPROFILE%\\「开始」菜单\\程序\\Varnek标牌打印机", "卸载 Varnek标牌打印机驱动.lnk"},
    // The entry the installer creates.
    {"%USERPROFILE%\\「开始」菜单\\程序\\Varnek打印机", "卸载 Varnek打印机驱动.lnk"},
};

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
    if (IsOwnedInstallFolder(folder)) {
        ListFolderTree(folder, files, folders);
        return;
    }
    for (int i = 0; i < kInstalledFileCount; ++i) {
        char path[kPathBufferSize];
        if (ComposePath(path, sizeof path, "%s\\%s", folder, kInstalledFileNames[i]))
            files.Add(path);
    }
}

void CollectRemovalLists(char* folder, size_t size, CStringArray& files, CStringArray& folders)
{
    if (GetOwnFolder(folder, size))
        ListInstallationFolder(folder, files, folders);

    for (const StartMenuEntry& entry : kStartMenuEntries) {
        char menuFolder[kPathBufferSize], shortcut[kPathBufferSize];
        DWORD n = ::ExpandEnvironmentStringsA(entry.folder, menuFolder, sizeof menuFolder);
        // An unset %USERPROFILE% would leave a relative path behind.
        if (n == 0 || n > sizeof menuFolder || !IsValidFolderSyntax(menuFolder) ||
            !ComposePath(shortcut, sizeof shortcut, "%s\\%s", menuFolder, entry.shortcut))
            continue;
        files.Add(shortcut);
        folders.Add(menuFolder);
    }
}

void DeleteListedItems(const char* root, const CStringArray& files, const CStringArray& folders,
                       CProgressCtrl* progress)
{
    const int F = files.GetSize(), D = folders.GetSize(), T = F + D;
    // The tree may have changed since it was listed: a subfolder replaced by
    // a junction now leads elsewhere, so every item is checked as it is
    // reached. A link itself is deleted (that removes only the link).
    for (int i = 0; i < F; ++i) {
        if (!HasLinkBelow(root, files[i]))
            ::DeleteFileA(files[i]);
        if (progress)
            progress->SetPos(ProgressPosition(i + 1, T));
    }
    for (int j = 0; j < D; ++j) {
        if (!HasLinkBelow(root, folders[D - 1 - j]))
            ::RemoveDirectoryA(folders[D - 1 - j]);
        if (progress)
            progress->SetPos(ProgressPosition(F + j + 1, T));
    }
}

void RemoveDataFolderSettings()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExA(&version) || version.dwMajorVersion <= 5)
        return;
    char windowsDir[kPathBufferSize] = "";
    UINT n = ::GetWindowsDirectoryA(windowsDir, sizeof windowsDir);
    char folder[kPathBufferSize], settings[kPathBufferSize];
    if (n < 2 || n >= sizeof windowsDir || windowsDir[1] != ':' ||
        !ComposePath(folder, sizeof folder, "%.2s\\ProgramData\\VarnekPrinter", windowsDir) ||
        !ComposePath(settings, sizeof settings, "%s\\VarnekSetting.ini", folder))
        return;
    // An ordinary user can create this folder as a junction into a system
    // folder before the installation: nothing is deleted through it.
    if (HasLinkedLevel(folder))
        return;
    ::DeleteFileA(settings);
    ::RemoveDirectoryA(folder);
}
