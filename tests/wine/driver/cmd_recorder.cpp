// cmd_recorder: a stand-in for system32\cmd.exe in a throwaway prefix (run
// with WINEDLLOVERRIDES=cmd.exe=n, or Wine's built-in interpreter wins).
// Appends its exact command line and then its current folder, in UTF-8, as
// two lines to C:\cmd-recorder.log and does nothing else.
#include <windows.h>

int main()
{
    wchar_t text[4096 + MAX_PATH + 2];
    const wchar_t* commandLine = GetCommandLineW();
    if (lstrlenW(commandLine) > 4096)
        return 1;
    lstrcpyW(text, commandLine);
    lstrcatW(text, L"\n");
    const int used = lstrlenW(text);
    DWORD folder = GetCurrentDirectoryW(MAX_PATH, text + used);
    if (folder == 0 || folder >= MAX_PATH)
        return 1;
    char utf8[16384];
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
    if (n <= 0)
        return 1;
    utf8[n - 1] = '\n';
    HANDLE log = CreateFileW(L"C:\\cmd-recorder.log", FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (log == INVALID_HANDLE_VALUE)
        return 1;
    DWORD written = 0;
    BOOL ok = WriteFile(log, utf8, static_cast<DWORD>(n), &written, nullptr);
    CloseHandle(log);
    return ok ? 0 : 1;
}
