#include "common/system_dlls.h"

#include <windows.h>
#include <delayimp.h>

#include <string.h>

namespace {

// Set when Windows lacks SetDefaultDllDirectories (before Windows 8 without
// KB2533623): the delay-load hook then names the system folder itself.
bool g_searchUnrestricted;

// Comctl32 version 6 is a side-by-side assembly named by the manifest: it is
// resolved from WinSxS by its name, never by a path.
bool IsSideBySideDll(const char* name)
{
    return _stricmp(name, "comctl32.dll") == 0;
}

FARPROC WINAPI LoadFromSystemFolder(unsigned notification, PDelayLoadInfo info)
{
    if (notification != dliNotePreLoadLibrary || !g_searchUnrestricted || IsSideBySideDll(info->szDll))
        return nullptr;
    // The system folder always fits MAX_PATH; the DLL names are ours.
    char path[MAX_PATH];
    UINT n = ::GetSystemDirectoryA(path, MAX_PATH);
    const size_t nameLength = strlen(info->szDll);
    if (n == 0 || n + 1 + nameLength >= MAX_PATH)
        return nullptr;
    path[n] = '\\';
    memcpy(path + n + 1, info->szDll, nameLength + 1);
    return reinterpret_cast<FARPROC>(::LoadLibraryA(path));
}

}  // namespace

extern "C" PfnDliHook __pfnDliNotifyHook2 = LoadFromSystemFolder;

void RestrictDllSearchToSystemFolder()
{
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    // Looked up, not imported: kernel32 of Windows 7 without KB2533623 lacks it.
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    g_searchUnrestricted = !setDefault || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Without it, at least the current folder leaves the search.
    if (g_searchUnrestricted)
        ::SetDllDirectoryA("");
}
