#include "installer/steps/system_entries.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <string.h>

#include "common/chinese_text.h"
#include "common/install_folder.h"
#include "common/names.h"
#include "common/path_text.h"
#include "common/product.h"
#include "common/step_log.h"

InstallOutcome WriteInstallRegistry(const Installation& installation)
{
    const unsigned long data = WriteProductKeyValue(kDataDirectoryValue, installation.dataFolder);
    const unsigned long program = WriteProductKeyValue(kProgramDirectoryValue, installation.folder);
    const unsigned long error = data != ERROR_SUCCESS ? data : program;
    LogResult("product key", VARNEK_PRODUCT_KEY, error);
    return error == ERROR_SUCCESS ? InstallOutcome::kInstalled : InstallOutcome::kProductKeyFailed;
}

namespace {

unsigned long CreateMenuShortcut(const char* installFolder)
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
    const unsigned long error = CreateMenuShortcut(installation.folder);
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

namespace {

// Each setter keeps the first error in error.
void SetText(HKEY key, const char* name, const char* text, LONG& error)
{
    // The stored length counts the terminating zero.
    const LONG set = ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                      static_cast<DWORD>(strlen(text) + 1));
    if (error == ERROR_SUCCESS)
        error = set;
}

// The product's Chinese name, written as UTF-16 whatever the ANSI code page.
const wchar_t kDisplayName[] = L"Varnek标牌打印机驱动";

void SetNumber(HKEY key, const char* name, DWORD number, LONG& error)
{
    const LONG set = ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    if (error == ERROR_SUCCESS)
        error = set;
}

// The package's files in folder, in KB rounded up: the entry is written
// before the driver files move out of the folder, and a folder that is not
// ours may hold files of the user's that are no part of the installation.
DWORD InstalledSizeKb(const char* folder)
{
    ULONGLONG bytes = 0;
    for (const ProductMember& member : kProductMembers) {
        char path[kPathBufferSize];
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (ComposePath(path, sizeof path, "%s\\%s", folder, member.name) &&
            ::GetFileAttributesExA(path, GetFileExInfoStandard, &data) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            bytes += (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return static_cast<DWORD>((bytes + 1023) / 1024);
}

unsigned long WriteUninstallValues(const char* installFolder)
{
    char command[kPathBufferSize], quietCommand[kPathBufferSize], icon[kPathBufferSize];
    if (!ComposePath(command, sizeof command, "\"%s\\" VARNEK_UNINSTALLER_FILE "\"", installFolder) ||
        !ComposePath(quietCommand, sizeof quietCommand, "%s /S", command) ||
        !ComposePath(icon, sizeof icon, "%s\\" VARNEK_UNINSTALLER_FILE ",0", installFolder))
        return ERROR_FILENAME_EXCED_RANGE;
    HKEY key;
    // KEY_WOW64_64KEY: the settings list of 64-bit Windows reads the native view.
    LONG error = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, VARNEK_UNINSTALL_KEY, 0, nullptr, 0,
                                   KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr);
    if (error != ERROR_SUCCESS)
        return static_cast<unsigned long>(error);
    error = ::RegSetValueExW(key, L"DisplayName", 0, REG_SZ, reinterpret_cast<const BYTE*>(kDisplayName),
                             sizeof kDisplayName);
    SetText(key, "DisplayVersion", VARNEK_PACKAGE_VERSION, error);
    SetText(key, "Publisher", "Varnek", error);
    SetText(key, "InstallLocation", installFolder, error);
    SetText(key, "DisplayIcon", icon, error);
    SetText(key, "UninstallString", command, error);
    SetText(key, "QuietUninstallString", quietCommand, error);
    SetNumber(key, "EstimatedSize", InstalledSizeKb(installFolder), error);
    SetNumber(key, "NoModify", 1, error);
    SetNumber(key, "NoRepair", 1, error);
    ::RegCloseKey(key);
    return static_cast<unsigned long>(error);
}

}  // namespace

InstallOutcome WriteUninstallEntry(const Installation& installation)
{
    const unsigned long error = WriteUninstallValues(installation.folder);
    LogResult("uninstall entry", VARNEK_UNINSTALL_KEY, error);
    return error == 0 ? InstallOutcome::kInstalled : InstallOutcome::kUninstallEntryFailed;
}
