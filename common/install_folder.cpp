#include "common/install_folder.h"

#include <shlobj.h>
#include <windows.h>

#include "common/folder_rules.h"
#include "common/path_text.h"

namespace {

// The long form of an existing path, so that "C:\PROGRA~1" compares equal to
// "C:\Program Files". A path that does not exist is returned as it is.
bool LongPath(const char* path, char (&out)[kPathBufferSize])
{
    char full[kPathBufferSize];
    DWORD n = ::GetFullPathNameA(path, sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full)
        return false;
    n = ::GetLongPathNameA(full, out, sizeof out);
    if (n == 0)
        return CopyText(out, sizeof out, full);
    return n < sizeof out;
}

bool ContainsFolder(const char* folder, const char* system)
{
    char canonical[kPathBufferSize];
    if (!system[0] || !LongPath(system, canonical))
        return false;
    return FolderContains(folder, canonical);
}

bool ContainsShellFolder(const char* folder, int csidl)
{
    char path[MAX_PATH];
    if (FAILED(::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return false;
    return ContainsFolder(folder, path);
}

bool ContainsEnvironmentFolder(const char* folder, const char* variable)
{
    char path[kPathBufferSize];
    DWORD n = ::GetEnvironmentVariableA(variable, path, sizeof path);
    return n > 0 && n < sizeof path && ContainsFolder(folder, path);
}

const int kProtectedShellFolders[] = {
    CSIDL_WINDOWS,         CSIDL_SYSTEM,          CSIDL_SYSTEMX86,
    CSIDL_PROGRAM_FILES,   CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON,
    CSIDL_COMMON_APPDATA,  CSIDL_PROFILE,          CSIDL_DESKTOPDIRECTORY,
    CSIDL_PERSONAL,        CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_DOCUMENTS,
    CSIDL_APPDATA,         CSIDL_LOCAL_APPDATA,    CSIDL_MYMUSIC,
    CSIDL_MYPICTURES,      CSIDL_MYVIDEO,
};

// The Downloads folder has no CSIDL. Its known-folder call exists from
// Windows 6.0 on; the uninstaller still starts on earlier Windows, so the
// call is looked up at run time.
bool ContainsDownloadsFolder(const char* folder)
{
    typedef HRESULT(WINAPI * GetKnownFolderPath)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);
    HMODULE shell = ::GetModuleHandleA("shell32.dll");
    GetKnownFolderPath get = shell ? reinterpret_cast<GetKnownFolderPath>(
                                         reinterpret_cast<void*>(::GetProcAddress(shell, "SHGetKnownFolderPath")))
                                   : nullptr;
    PWSTR wide = nullptr;
    if (!get || FAILED(get(FOLDERID_Downloads, 0, nullptr, &wide)))
        return false;
    char path[kPathBufferSize];
    int n = ::WideCharToMultiByte(CP_ACP, 0, wide, -1, path, sizeof path, nullptr, nullptr);
    ::CoTaskMemFree(wide);
    return n > 0 && ContainsFolder(folder, path);
}

}  // namespace

bool IsUsableInstallFolder(const char* path)
{
    char folder[kPathBufferSize];
    if (!IsValidFolderSyntax(path) || !LongPath(path, folder))
        return false;
    for (int csidl : kProtectedShellFolders) {
        if (ContainsShellFolder(folder, csidl))
            return false;
    }
    // The 64-bit Program Files folder, which a 32-bit process under WOW64
    // does not get from the shell, the public profile, and the folder that
    // holds the profiles.
    if (ContainsEnvironmentFolder(folder, "ProgramW6432") || ContainsEnvironmentFolder(folder, "PUBLIC") ||
        ContainsDownloadsFolder(folder))
        return false;
    char temp[kPathBufferSize];
    DWORD n = ::GetTempPathA(sizeof temp, temp);
    if (n > 0 && n < sizeof temp && ContainsFolder(folder, temp))
        return false;
    char profile[MAX_PATH], profiles[kPathBufferSize];
    if (SUCCEEDED(::SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, profile)) &&
        FolderOfPath(profiles, sizeof profiles, profile) && ContainsFolder(folder, profiles))
        return false;
    return true;
}
