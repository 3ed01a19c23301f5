// holdfile FILE READY RELEASE: opens FILE without sharing (as a running
// program holds its executable), creates READY, and keeps FILE open until
// RELEASE exists (at most two minutes). Exit code 0, or 2 when FILE cannot
// be opened, 3 for bad usage. Paths are Windows paths.
#include <windows.h>

namespace {

bool Exists(const wchar_t* path)
{
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 4)
        return 3;
    HANDLE held = CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held == INVALID_HANDLE_VALUE)
        return 2;
    HANDLE ready = CreateFileW(argv[2], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (ready != INVALID_HANDLE_VALUE)
        CloseHandle(ready);
    for (int waited = 0; waited < 120000 && !Exists(argv[3]); waited += 50)
        Sleep(50);
    CloseHandle(held);
    return 0;
}
