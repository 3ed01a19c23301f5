#include "installer/start_menu.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include "common/chinese_text.h"
#include "common/names.h"
#include "common/path_text.h"

void CreateStartMenuEntry(const char* installFolder)
{
    // Ask the shell: "%USERPROFILE%\「开始」菜单\程序" is the programs folder
    // only on Chinese Windows before 6.0; later it does not exist.
    // The names are Chinese whatever the ANSI code page, so they are written
    // as UTF-16 (the uninstaller's target stays an ANSI path).
    wchar_t programs[MAX_PATH];
    wchar_t folder[kPathBufferSize];
    if (::SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs) != S_OK ||
        !ComposeWide(folder, kPathBufferSize, L"%ls\\Varnek打印机", programs))
        return;
    // Only the last level: where the programs folder is missing, no entry is made.
    ::CreateDirectoryW(folder, nullptr);

    wchar_t linkFile[kPathBufferSize];
    char target[kPathBufferSize];
    if (!ComposeWide(linkFile, kPathBufferSize, L"%ls\\卸载 Varnek打印机驱动.lnk", folder) ||
        !ComposePath(target, sizeof target, "%s\\" VARNEK_UNINSTALLER_FILE, installFolder))
        return;
    CreateUninstallShortcut(target, linkFile);
}

void CreateUninstallShortcut(const char* target, const wchar_t* linkFile)
{
    HRESULT init = ::CoInitialize(nullptr);
    // S_FALSE (COM already initialised on this thread) still counts and
    // must be balanced, but makes no shortcut.
    if (init != S_OK) {
        if (SUCCEEDED(init))
            ::CoUninitialize();
        return;
    }

    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        char workingDir[kPathBufferSize];
        if (FolderOfPath(workingDir, sizeof workingDir, target)) {
            link->SetPath(WideText(target, -1, CP_ACP));
            link->SetWorkingDirectory(WideText(workingDir, -1, CP_ACP));
            file->Save(linkFile, TRUE);
        }
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    ::CoUninitialize();
}
