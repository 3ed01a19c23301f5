// start_inheriting PID PROGRAM ARG...: starts PROGRAM with an inheritable
// handle to process PID (SYNCHRONIZE) in place of the first ARG "%h", as the
// clean-up pass starts its finisher, and waits for it. Exit code: the
// program's, or 2 when PID cannot be opened, 3 for bad usage, 4 when the
// program cannot be started.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 3)
        return 3;
    HANDLE process = OpenProcess(SYNCHRONIZE, TRUE, static_cast<DWORD>(wcstoul(argv[1], nullptr, 10)));
    if (!process)
        return 2;
    static wchar_t commandLine[4096];
    _snwprintf(commandLine, 4095, L"\"%ls\"", argv[2]);
    for (int i = 3; i < argc; ++i) {
        wchar_t argument[1024];
        if (wcscmp(argv[i], L"%h") == 0)
            _snwprintf(argument, 1023, L" %lu", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(process)));
        else
            _snwprintf(argument, 1023, L" \"%ls\"", argv[i]);
        argument[1023] = L'\0';
        wcsncat(commandLine, argument, 4095 - wcslen(commandLine));
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child;
    if (!CreateProcessW(argv[2], commandLine, nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child))
        return 4;
    CloseHandle(process);
    WaitForSingleObject(child.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    return static_cast<int>(code);
}
