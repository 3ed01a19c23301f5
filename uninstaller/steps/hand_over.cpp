#include "uninstaller/steps/hand_over.h"

#include <sddl.h>
#include <stdint.h>
#include <string.h>

#include "common/clean_up_command.h"
#include "common/path_text.h"
#include "common/step_log.h"
#include "uninstaller/steps/hand_over_commands.h"

namespace {

// Full control for SYSTEM and the administrators, reading and running for
// users; protected, so nothing is inherited from the temporary folder (where
// every user may create files).
const char kPrivateFolderSddl[] = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;GRGX;;;BU)";

bool CreatePrivateFolder(const char* folder)
{
    SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, FALSE};
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(kPrivateFolderSddl, SDDL_REVISION_1,
                                                                &attributes.lpSecurityDescriptor, nullptr))
        return false;
    // Fails if anything took the name meanwhile: the folder is always fresh.
    const BOOL created = ::CreateDirectoryA(folder, &attributes);
    ::LocalFree(attributes.lpSecurityDescriptor);
    return created != FALSE;
}

}  // namespace

bool GetOwnPath(char* buffer, size_t size)
{
    DWORD n = ::GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size));
    if (n == 0 || n >= size) {
        if (size)
            buffer[0] = '\0';
        return false;
    }
    return true;
}

bool GetOwnFolder(char* buffer, size_t size)
{
    char path[MAX_PATH];
    return GetOwnPath(path, sizeof path) && FolderOfPath(buffer, size, path) && buffer[0];
}

RemovalResult RegisterRunOnceCleanup()
{
    char exePath[MAX_PATH], folder[kPathBufferSize], data[512];
    if (!GetOwnPath(exePath, sizeof exePath) || !FolderOfPath(folder, sizeof folder, exePath) ||
        !FormatRunOnceData(data, sizeof data, exePath, folder)) {
        LogStep("run once", "DvxUninstaller", "path not usable", ERROR_BAD_PATHNAME);
        return RemovalResult::Failed(ERROR_BAD_PATHNAME);
    }
    HKEY key;
    // The 64-bit view, like the product key: the same value whether a 32-bit
    // or a 64-bit uninstaller writes it (ignored on 32-bit Windows).
    LONG error = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, VARNEK_RUN_ONCE_KEY, 0, KEY_READ | KEY_WRITE | KEY_WOW64_64KEY, &key);
    if (error == ERROR_SUCCESS) {
        error = ::RegSetValueExA(key, VARNEK_RUN_ONCE_VALUE, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                                 static_cast<DWORD>(strlen(data) + 1));
        ::RegCloseKey(key);
    }
    LogResult("run once", data, static_cast<unsigned long>(error));
    return error == ERROR_SUCCESS ? RemovalResult::Done() : RemovalResult::Failed(static_cast<unsigned long>(error));
}

bool CopySelfToTemp(TempCopy* copy)
{
    copy->held = INVALID_HANDLE_VALUE;
    char exePath[MAX_PATH], tempFolder[MAX_PATH + 1];
    if (!GetOwnPath(exePath, sizeof exePath))
        return false;
    // A unique Del<unique>.tmp name, made as an empty file and then taken over by the folder.
    DWORD n = ::GetTempPathA(sizeof tempFolder, tempFolder);
    if (n == 0 || n >= sizeof tempFolder || !::GetTempFileNameA(tempFolder, "Del", 0, copy->folder))
        return false;
    ::DeleteFileA(copy->folder);
    if (!CreatePrivateFolder(copy->folder))
        return false;
    if (ComposePath(copy->path, sizeof copy->path, "%s\\Uninstaller.exe", copy->folder) &&
        ::CopyFileA(exePath, copy->path, TRUE)) {
        copy->held = ::CreateFileA(copy->path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (copy->held != INVALID_HANDLE_VALUE)
            return true;
        ::DeleteFileA(copy->path);
    }
    ::RemoveDirectoryA(copy->folder);
    return false;
}

bool RelaunchFromTemp(const TempCopy& copy)
{
    char exePath[MAX_PATH], folder[kPathBufferSize], commandLine[kCommandLineSize];
    HANDLE self;
    if (!GetOwnPath(exePath, sizeof exePath) || !FolderOfPath(folder, sizeof folder, exePath) ||
        !::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), &self, SYNCHRONIZE,
                           TRUE, 0))
        return false;
    // Handle values fit 32 bits, also in a 64-bit process.
    bool started = false;
    if (FormatRelaunchCommand(commandLine, sizeof commandLine, copy.path,
                              static_cast<unsigned long>(reinterpret_cast<uintptr_t>(self)), exePath, folder)) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process;
        // Only this handle is inheritable: every other one is made without
        // an inheritance flag.
        started = ::CreateProcessA(copy.path, commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                   &process) != FALSE;
        if (started) {
            ::CloseHandle(process.hThread);
            ::CloseHandle(process.hProcess);
        }
    }
    ::CloseHandle(self);
    return started;
}

void ReleaseTempCopy(TempCopy* copy, bool started)
{
    ::CloseHandle(copy->held);
    copy->held = INVALID_HANDLE_VALUE;
    if (!started) {
        ::DeleteFileA(copy->path);
        ::RemoveDirectoryA(copy->folder);
    }
}

RemovalResult DeleteSelf()
{
    char exePath[MAX_PATH], exeFolder[kPathBufferSize];
    if (!GetOwnPath(exePath, sizeof exePath) || !FolderOfPath(exeFolder, sizeof exeFolder, exePath))
        return RemovalResult::Failed(ERROR_INSUFFICIENT_BUFFER);
    // Whatever becomes of the interpreter, the file goes at the next restart,
    // and the copy's own folder after it if nothing else is left in it.
    const char* ownCopyFolder = IsTempCopyFolder(exeFolder) ? exeFolder : nullptr;
    ::MoveFileExA(exePath, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    if (ownCopyFolder)
        ::MoveFileExA(ownCopyFolder, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);

    // Found through the system folder: Windows need not live in C:\WINDOWS.
    // The system folder is also the interpreter's current folder, so no
    // program of the temporary folder runs in its place.
    char systemDir[kPathBufferSize], interpreter[kPathBufferSize], commandLine[kCommandLineSize];
    UINT n = ::GetSystemDirectoryA(systemDir, sizeof systemDir);
    if (n == 0 || n >= sizeof systemDir || !ComposePath(interpreter, sizeof interpreter, "%s\\cmd.exe", systemDir) ||
        !FormatSelfDeleteCommand(commandLine, sizeof commandLine, systemDir, exePath, ownCopyFolder))
        return RemovalResult::Failed(ERROR_BAD_PATHNAME);

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process;
    if (!::CreateProcessA(interpreter, commandLine, nullptr, nullptr, FALSE, 0, nullptr, systemDir, &startup,
                          &process))
        return RemovalResult::Failed(::GetLastError());
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return RemovalResult::Done();
}
