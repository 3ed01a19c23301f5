#include "installer/file_moves.h"

#include <windows.h>

#include "common/names.h"
#include "common/path_text.h"
#include "installer/driver_package.h"

namespace {

// Copy with overwrite, then delete the source whatever the copy did: a
// missing or locked file is skipped silently. A path that does not fit is
// refused and nothing is touched.
void MoveInto(const char* fromFolder, const char* toFolder, const char* name)
{
    char source[kPathBufferSize];
    char target[kPathBufferSize];
    if (!ComposePath(source, sizeof source, "%s\\%s", fromFolder, name) ||
        !ComposePath(target, sizeof target, "%s\\%s", toFolder, name))
        return;
    ::CopyFileA(source, target, FALSE);
    ::DeleteFileA(source);
}

typedef BOOL(WINAPI* RedirectionProc)(PVOID*);
typedef BOOL(WINAPI* RevertProc)(PVOID);

template <class Proc>
Proc KernelProc(HMODULE kernel, const char* name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(::GetProcAddress(kernel, name)));
}

}  // namespace

void MoveDriverFiles(const char* installFolder, const char* driverDirectory)
{
    for (const char* name : kDriverFiles)
        MoveInto(installFolder, driverDirectory, name);
}

void MoveMonitorLibrary(const char* installFolder)
{
    // Looked up at run time: 32-bit Windows does not export the switches.
    HMODULE kernel = ::LoadLibraryA("Kernel32.dll");
    RedirectionProc disable = kernel ? KernelProc<RedirectionProc>(kernel, "Wow64DisableWow64FsRedirection") : nullptr;
    RevertProc revert = kernel ? KernelProc<RevertProc>(kernel, "Wow64RevertWow64FsRedirection") : nullptr;

    // Under WOW64 "system32" would otherwise mean SysWOW64, where the
    // 64-bit spooler never looks. The switch acts on this thread only.
    PVOID state = nullptr;
    bool redirectionOff = disable && disable(&state);
    char systemDirectory[kPathBufferSize];
    UINT n = ::GetSystemDirectoryA(systemDirectory, sizeof systemDirectory);
    if (n > 0 && n < sizeof systemDirectory)
        MoveInto(installFolder, systemDirectory, VARNEK_MONITOR_LIBRARY);
    if (redirectionOff && revert)
        revert(state);
    if (kernel)
        ::FreeLibrary(kernel);
}
