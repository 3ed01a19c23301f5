#include "common/install_folder.h"

#include <shlobj.h>
#include <string.h>
#include <windows.h>

#include "common/folder_rules.h"
#include "common/names.h"
#include "common/path_text.h"
#include "common/product.h"

namespace {

// Guarded folders as the system names them; each is compared in long form.
struct GuardSource {
    int csidl;             // or -1
    const char* variable;  // environment variable, when csidl is -1
    FolderGuard guard;
};

const GuardSource kGuardSources[] = {
    {CSIDL_WINDOWS, nullptr, FolderGuard::kTree},
    {CSIDL_SYSTEM, nullptr, FolderGuard::kTree},
    {CSIDL_SYSTEMX86, nullptr, FolderGuard::kTree},
    {CSIDL_PROGRAM_FILES, nullptr, FolderGuard::kWhole},
    {CSIDL_PROGRAM_FILESX86, nullptr, FolderGuard::kWhole},
    // The 64-bit Program Files folder, which a 32-bit process under WOW64
    // does not get from the shell.
    {-1, "ProgramW6432", FolderGuard::kWhole},
    {CSIDL_PROGRAM_FILES_COMMON, nullptr, FolderGuard::kTree},
    {CSIDL_PROGRAM_FILES_COMMONX86, nullptr, FolderGuard::kTree},
    {-1, "CommonProgramFiles", FolderGuard::kTree},
    {-1, "CommonProgramW6432", FolderGuard::kTree},
    {-1, "CommonProgramFiles(x86)", FolderGuard::kTree},
    {CSIDL_COMMON_APPDATA, nullptr, FolderGuard::kWhole},
    {CSIDL_STARTUP, nullptr, FolderGuard::kTree},
    {CSIDL_COMMON_STARTUP, nullptr, FolderGuard::kTree},
    {CSIDL_PROFILE, nullptr, FolderGuard::kWhole},
    {CSIDL_DESKTOPDIRECTORY, nullptr, FolderGuard::kWhole},
    {CSIDL_PERSONAL, nullptr, FolderGuard::kWhole},
    {CSIDL_COMMON_DESKTOPDIRECTORY, nullptr, FolderGuard::kWhole},
    {CSIDL_COMMON_DOCUMENTS, nullptr, FolderGuard::kWhole},
    {CSIDL_APPDATA, nullptr, FolderGuard::kWhole},
    {CSIDL_LOCAL_APPDATA, nullptr, FolderGuard::kWhole},
    {CSIDL_MYMUSIC, nullptr, FolderGuard::kWhole},
    {CSIDL_MYPICTURES, nullptr, FolderGuard::kWhole},
    {CSIDL_MYVIDEO, nullptr, FolderGuard::kWhole},
    {-1, "PUBLIC", FolderGuard::kTree},
};

// The guards that are not a single system folder.
enum ExtraGuard { kProfiles, kProgramDataMicrosoft, kTemp, kDownloads, kExtraGuardCount };
const size_t kGuardCount = sizeof kGuardSources / sizeof kGuardSources[0] + kExtraGuardCount;

bool ShellFolder(int csidl, char* buffer, size_t size)
{
    char path[MAX_PATH];
    return SUCCEEDED(::SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) &&
           LongFolderPath(path, buffer, size);
}

bool EnvironmentFolder(const char* variable, char* buffer, size_t size)
{
    char path[kPathBufferSize];
    DWORD n = ::GetEnvironmentVariableA(variable, path, sizeof path);
    return n > 0 && n < sizeof path && LongFolderPath(path, buffer, size);
}

// The Downloads folder has no CSIDL. Its known-folder call exists from
// Windows 6.0 on; the uninstaller still starts on earlier Windows, so the
// call is looked up at run time.
bool DownloadsFolder(char* buffer, size_t size)
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
    return n > 0 && LongFolderPath(path, buffer, size);
}

// The one place the product key is opened. Null on failure, the error in *error.
HKEY OpenProductKey(REGSAM access, bool create, LONG* error = nullptr)
{
    HKEY key = nullptr;
    // KEY_WOW64_64KEY: the key lives in the 64-bit view, where the 64-bit
    // components read it (ignored on 32-bit Windows).
    LONG result = create ? ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, VARNEK_PRODUCT_KEY, 0, nullptr, 0,
                                             access | KEY_WOW64_64KEY, nullptr, &key, nullptr)
                         : ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, VARNEK_PRODUCT_KEY, 0, access | KEY_WOW64_64KEY, &key);
    if (error)
        *error = result;
    return result == ERROR_SUCCESS ? key : nullptr;
}

}  // namespace

bool LongFolderPath(const char* path, char* buffer, size_t size)
{
    char full[kPathBufferSize];
    DWORD n = ::GetFullPathNameA(path, sizeof full, full, nullptr);
    if (n == 0 || n >= sizeof full)
        return false;
    n = ::GetLongPathNameA(full, buffer, static_cast<DWORD>(size));
    if (n > 0)
        return n < size;
    // A level that does not exist yet: the long form of its folder, then the
    // rest as typed, so that "C:\WINDOW~1\New" still names the Windows tree.
    int separator = LastSeparator(full);
    if (separator <= 2)
        return CopyText(buffer, size, full);
    char parent[kPathBufferSize], longParent[kPathBufferSize];
    return FolderOfPath(parent, sizeof parent, full) && LongFolderPath(parent, longParent, sizeof longParent) &&
           ComposePath(buffer, size, "%s\\%s", longParent, full + separator + 1);
}

bool IsUsableInstallFolder(const char* path)
{
    char folder[kPathBufferSize];
    if (!IsValidFolderSyntax(path) || !LongFolderPath(path, folder, sizeof folder))
        return false;

    char paths[kGuardCount][kPathBufferSize] = {};
    GuardedFolder guarded[kGuardCount] = {};
    size_t i = 0;
    for (const GuardSource& source : kGuardSources) {
        bool found = source.csidl >= 0 ? ShellFolder(source.csidl, paths[i], sizeof paths[i])
                                       : EnvironmentFolder(source.variable, paths[i], sizeof paths[i]);
        guarded[i] = {found ? paths[i] : nullptr, source.guard, nullptr};
        ++i;
    }
    // Every profile but the user's own, with Default and Public: the folder
    // that holds the profiles is guarded as a tree, the own profile excepted.
    char profile[kPathBufferSize];
    if (ShellFolder(CSIDL_PROFILE, profile, sizeof profile) &&
        FolderOfPath(paths[i + kProfiles], sizeof paths[i + kProfiles], profile) && paths[i + kProfiles][0])
        guarded[i + kProfiles] = {paths[i + kProfiles], FolderGuard::kTree, profile};
    char programData[kPathBufferSize];
    if (ShellFolder(CSIDL_COMMON_APPDATA, programData, sizeof programData) &&
        ComposePath(paths[i + kProgramDataMicrosoft], kPathBufferSize, "%s\\Microsoft", programData))
        guarded[i + kProgramDataMicrosoft] = {paths[i + kProgramDataMicrosoft], FolderGuard::kTree, nullptr};
    char temp[kPathBufferSize];
    DWORD n = ::GetTempPathA(sizeof temp, temp);
    if (n > 0 && n < sizeof temp && LongFolderPath(temp, paths[i + kTemp], kPathBufferSize))
        guarded[i + kTemp] = {paths[i + kTemp], FolderGuard::kWhole, nullptr};
    if (DownloadsFolder(paths[i + kDownloads], kPathBufferSize))
        guarded[i + kDownloads] = {paths[i + kDownloads], FolderGuard::kWhole, nullptr};
    return !IsGuardedFolder(folder, guarded, kGuardCount);
}

bool RecordFolderOwnership(const char* folder, bool ours)
{
    HKEY key = OpenProductKey(KEY_QUERY_VALUE | KEY_SET_VALUE, true);
    if (!key)
        return false;
    LONG result;
    if (ours) {
        result = ::RegSetValueExA(key, kOwnedFolderValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(folder),
                                  static_cast<DWORD>(strlen(folder) + 1));
    } else {
        result = ::RegDeleteValueA(key, kOwnedFolderValue);
        if (result == ERROR_FILE_NOT_FOUND)
            result = ERROR_SUCCESS;
    }
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

bool ReadProductKeyValue(const char* name, char* buffer, size_t size)
{
    if (size == 0)
        return false;
    buffer[0] = '\0';
    HKEY key = OpenProductKey(KEY_QUERY_VALUE, false);
    if (!key)
        return false;
    DWORD type = 0, bytes = static_cast<DWORD>(size - 1);
    LONG result = ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ) {
        buffer[0] = '\0';
        return false;
    }
    // The stored data need not end in a zero.
    buffer[bytes < size ? bytes : size - 1] = '\0';
    return buffer[0] != '\0';
}

unsigned long WriteProductKeyValue(const char* name, const char* text)
{
    char data[kPathBufferSize];
    if (!CopyText(data, sizeof data, text))
        return ERROR_FILENAME_EXCED_RANGE;
    LONG error;
    HKEY key = OpenProductKey(KEY_ALL_ACCESS, true, &error);
    if (!key)
        return static_cast<unsigned long>(error);
    // The stored length counts the terminating zero.
    error = ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                             static_cast<DWORD>(strlen(data) + 1));
    ::RegCloseKey(key);
    return static_cast<unsigned long>(error);
}

bool LocateDataFolder(char* buffer, size_t size)
{
    if (size == 0)
        return false;
    buffer[0] = '\0';
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!::GetVersionExA(&version))
        return false;
    if (version.dwMajorVersion < kFirstProgramDataWindows)
        return true;
    char windowsFolder[kPathBufferSize] = "";
    UINT n = ::GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    return n >= 2 && n < sizeof windowsFolder && ComposeDataFolder(buffer, size, windowsFolder);
}

bool ReadOwnedFolder(char* buffer, size_t size)
{
    return ReadProductKeyValue(kOwnedFolderValue, buffer, size);
}

bool IsOwnedInstallFolder(const char* folder)
{
    char recorded[kPathBufferSize], longFolder[kPathBufferSize];
    return ReadOwnedFolder(recorded, sizeof recorded) && LongFolderPath(folder, longFolder, sizeof longFolder) &&
           MayEmptyFolderTree(longFolder, recorded) && IsUsableInstallFolder(folder);
}
