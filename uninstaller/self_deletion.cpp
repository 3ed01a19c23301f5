#include "uninstaller/self_deletion.h"

#include "common/path_text.h"
#include "uninstaller/command_line.h"
#include "uninstaller/module_path.h"

bool CopySelfToTemp(char* tempCopy, size_t size)
{
    char exePath[MAX_PATH], tempFolder[MAX_PATH + 1], copy[MAX_PATH];
    if (!GetOwnPath(exePath, sizeof exePath))
        return false;
    DWORD n = ::GetTempPathA(sizeof tempFolder, tempFolder);
    // Creates the empty file Del<unique>.tmp, so the name is ours.
    if (n == 0 || n >= sizeof tempFolder || !::GetTempFileNameA(tempFolder, "Del", 0, copy))
        return false;
    if (!::CopyFileA(exePath, copy, FALSE) || !CopyText(tempCopy, size, copy)) {
        ::DeleteFileA(copy);
        return false;
    }
    return true;
}

bool RelaunchFromTemp(const char* tempCopy)
{
    char exePath[MAX_PATH], folder[kPathBufferSize], commandLine[kCommandLineSize];
    if (!GetOwnPath(exePath, sizeof exePath) || !FolderOfPath(folder, sizeof folder, exePath) ||
        !FormatRelaunchCommand(commandLine, sizeof commandLine, tempCopy, ::GetCurrentProcessId(), exePath, folder))
        return false;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process;
    if (!::CreateProcessA(tempCopy, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return true;
}

DWORD DeleteSelf()
{
    char exePath[MAX_PATH];
    if (!GetOwnPath(exePath, sizeof exePath))
        return ERROR_INSUFFICIENT_BUFFER;
    // Whatever becomes of the interpreter, the file goes at the next restart.
    ::MoveFileExA(exePath, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);

    // Found through the system folder: Windows need not live in C:\WINDOWS.
    char systemDir[kPathBufferSize], interpreter[kPathBufferSize], commandLine[kCommandLineSize];
    UINT n = ::GetSystemDirectoryA(systemDir, sizeof systemDir);
    if (n == 0 || n >= sizeof systemDir || !ComposePath(interpreter, sizeof interpreter, "%s\\cmd.exe", systemDir) ||
        !FormatSelfDeleteCommand(commandLine, sizeof commandLine, interpreter, exePath))
        return ERROR_BAD_PATHNAME;

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process;
    if (!::CreateProcessA(interpreter, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process))
        return ::GetLastError();
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return ERROR_SUCCESS;
}
