#include "installer/steps/start_menu.h"

#include <objbase.h>
#include <shlobj.h>
#include <windows.h>

#include "common/chinese_text.h"
#include "common/names.h"
#include "common/path_text.h"
#include "common/product.h"
#include "common/step_log.h"

namespace {

unsigned long CreateEntry(const char* installFolder)
{
    // Ask the shell: "%USERPROFILE%\「开始」菜单\程序" is the programs folder
    // only on Chinese Windows before 6.0; later it does not exist.
    // The names are Chinese whatever the ANSI code page, so they are written
    // as UTF-16 (the uninstaller's target stays an ANSI path).
    wchar_t programs[MAX_PATH];
    wchar_t folder[kPathBufferSize];
    if (::SHGetFolderPathW(nullptr, CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs) != S_OK)
        return ERROR_PATH_NOT_FOUND;
    if (!ComposeWide(folder, kPathBufferSize, L"%ls\\%ls", programs, kStartMenuEntry.folder))
        return ERROR_FILENAME_EXCED_RANGE;
    // Only the last level: where the programs folder is missing, no entry is made.
    if (!::CreateDirectoryW(folder, nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
        return ::GetLastError();

    wchar_t linkFile[kPathBufferSize];
    char target[kPathBufferSize];
    if (!ComposeWide(linkFile, kPathBufferSize, L"%ls\\%ls", folder, kStartMenuEntry.shortcut) ||
        !ComposePath(target, sizeof target, "%s\\" VARNEK_UNINSTALLER_FILE, installFolder))
        return ERROR_FILENAME_EXCED_RANGE;
    const HRESULT saved = CreateUninstallShortcut(target, linkFile);
    return SUCCEEDED(saved) ? 0 : static_cast<unsigned long>(saved);
}

}  // namespace

InstallOutcome CreateStartMenuEntry(const Installation& installation)
{
    const unsigned long error = CreateEntry(installation.folder);
    LogResult("start menu", installation.folder, error);
    return error == 0 ? InstallOutcome::kInstalled : InstallOutcome::kStartMenuFailed;
}

long CreateUninstallShortcut(const char* target, const wchar_t* linkFile)
{
    HRESULT init = ::CoInitialize(nullptr);
    // S_FALSE (COM already initialised on this thread) still counts and
    // must be balanced; only a failure leaves nothing to undo.
    if (init != S_OK) {
        if (SUCCEEDED(init))
            ::CoUninitialize();
        return FAILED(init) ? init : E_UNEXPECTED;
    }

    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                        reinterpret_cast<void**>(&link));
    if (SUCCEEDED(result))
        result = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    if (SUCCEEDED(result)) {
        char workingDir[kPathBufferSize];
        if (FolderOfPath(workingDir, sizeof workingDir, target)) {
            link->SetPath(WideText(target, -1, CP_ACP));
            link->SetWorkingDirectory(WideText(workingDir, -1, CP_ACP));
            result = file->Save(linkFile, TRUE);
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
