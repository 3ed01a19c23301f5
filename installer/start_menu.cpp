#include "installer/start_menu.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include "common/names.h"
#include "common/path_text.h"

unsigned long CreateStartMenuEntry(const char* installFolder)
{
    // Ask the shell: "%USERPROFILE%\「开始」菜单\程序" is the programs folder
    // only on Chinese Windows before 6.0; later it does not exist.
    char programs[MAX_PATH];
    char folder[kPathBufferSize];
    if (::SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs) != S_OK)
        return ERROR_PATH_NOT_FOUND;
    if (!ComposePath(folder, sizeof folder, "%s\\Varnek打印机", programs))
        return ERROR_FILENAME_EXCED_RANGE;
    // Only the last level: where the programs folder is missing, no entry is made.
    if (!::CreateDirectoryA(folder, nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return ::GetLastError();

    char linkFile[kPathBufferSize];
    char target[kPathBufferSize];
    if (!ComposePath(linkFile, sizeof linkFile, "%s\\卸载 Varnek打印机驱动.lnk", folder) ||
        !ComposePath(target, sizeof target, "%s\\" VARNEK_UNINSTALLER_FILE, installFolder))
        return ERROR_FILENAME_EXCED_RANGE;
    const HRESULT saved = CreateUninstallShortcut(target, linkFile);
    return SUCCEEDED(saved) ? 0 : static_cast<unsigned long>(saved);
}

long CreateUninstallShortcut(const char* target, const char* linkFile)
{
    HRESULT init = ::CoInitialize(nullptr);
    // S_FALSE (COM already initialised on this thread) still counts and
    // must be balanced, but makes no shortcut.
    if (init != S_OK) {
        if (SUCCEEDED(init))
            ::CoUninitialize();
        return FAILED(init) ? init : E_UNEXPECTED;
    }

    IShellLinkA* link = nullptr;
    IPersistFile* file = nullptr;
    HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                        reinterpret_cast<void**>(&link));
    if (SUCCEEDED(result))
        result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(result)) {
        char workingDir[kPathBufferSize];
        wchar_t widePath[MAX_PATH];
        if (FolderOfPath(workingDir, sizeof workingDir, target) &&
            ::MultiByteToWideChar(CP_ACP, 0, linkFile, -1, widePath, MAX_PATH) > 0) {
            link->SetPath(target);
            link->SetWorkingDirectory(workingDir);
            result = file->Save(widePath, TRUE);
        } else {
            result = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
        }
    }
    if (file)
        file->Release();
    if (link)
        link->Release();
    ::CoUninitialize();
    return result;
}
