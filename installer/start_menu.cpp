#include "installer/start_menu.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include "common/names.h"
#include "common/path_text.h"

void CreateStartMenuEntry(const char* installFolder)
{
    // Ask the shell: "%USERPROFILE%\「开始」菜单\程序" is the programs folder
    // only on Chinese Windows before 6.0; later it does not exist.
    char programs[MAX_PATH];
    char folder[kPathBufferSize];
    if (::SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs) != S_OK ||
        !ComposePath(folder, sizeof folder, "%s\\Varnek打印机", programs))
        return;
    // Only the last level: where the programs folder is missing, no entry is made.
    ::CreateDirectoryA(folder, nullptr);

    char linkFile[kPathBufferSize];
    char target[kPathBufferSize];
    if (!ComposePath(linkFile, sizeof linkFile, "%s\\卸载 Varnek打印机驱动.lnk", folder) ||
        !ComposePath(target, sizeof target, "%s\\" VARNEK_UNINSTALLER_FILE, installFolder))
        return;
    CreateUninstallShortcut(target, linkFile);
}

void CreateUninstallShortcut(const char* target, const char* linkFile)
{
    HRESULT init = ::CoInitialize(nullptr);
    // S_FALSE (COM already initialised on this thread) still counts and
    // must be balanced, but makes no shortcut.
    if (init != S_OK) {
        if (SUCCEEDED(init))
            ::CoUninitialize();
        return;
    }

    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                     reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        char workingDir[kPathBufferSize];
        wchar_t widePath[MAX_PATH];
        if (FolderOfPath(workingDir, sizeof workingDir, target) &&
            ::MultiByteToWideChar(CP_ACP, 0, linkFile, -1, widePath, MAX_PATH) > 0) {
            link->SetPath(target);
            link->SetWorkingDirectory(workingDir);
            file->Save(widePath, TRUE);
        }
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    ::CoUninitialize();
}
