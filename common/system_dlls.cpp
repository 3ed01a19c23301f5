#include "common/system_dlls.h"

#include <delayimp.h>
#include <string.h>

#include "common/path_text.h"

namespace {

// Set when Windows lacks SetDefaultDllDirectories (before Windows 8 without
// KB2533623): DLLs are then named by their full path in the system folder.
bool g_searchUnrestricted;

// Comctl32 version 6 is a side-by-side assembly named by the manifest: it is
// resolved from WinSxS by its name, never by a path.
bool IsSideBySideDll(const char* name)
{
    return _stricmp(name, "comctl32.dll") == 0;
}

// A path that does not fit is refused, never truncated.
HMODULE LoadBySystemFolderPath(const char* name)
{
    char system[kPathBufferSize], path[kPathBufferSize];
    const UINT n = ::GetSystemDirectoryA(system, sizeof system);
    if (n == 0 || n >= sizeof system || !ComposePath(path, sizeof path, "%s\\%s", system, name))
        return nullptr;
    return ::LoadLibraryA(path);
}

FARPROC WINAPI LoadFromSystemFolder(unsigned notification, PDelayLoadInfo info)
{
    if (notification != dliNotePreLoadLibrary || !g_searchUnrestricted || IsSideBySideDll(info->szDll))
        return nullptr;
    return reinterpret_cast<FARPROC>(LoadBySystemFolderPath(info->szDll));
}

}  // namespace

extern "C" PfnDliHook __pfnDliNotifyHook2 = LoadFromSystemFolder;

// GNU ld places the delay-load descriptors of the delay import libraries
// (section .text$2) side by side but leaves the PE's delay import directory
// empty: cmake/delay_import_directory.py names them there after the link.
// This zero descriptor, sorted right after them, ends that array.
extern "C" __attribute__((section(".text$3"), used, aligned(4))) const ImgDelayDescr DelayImportDirectoryEnd = {};

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

// Windows 7 without KB2533623 refuses LOAD_LIBRARY_SEARCH_SYSTEM32
// (ERROR_INVALID_PARAMETER): there the DLL is named by its full path.
HMODULE LoadSystemDll(const char* name)
{
    HMODULE module = ::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || ::GetLastError() != ERROR_INVALID_PARAMETER)
        return module;
    return LoadBySystemFolderPath(name);
}
