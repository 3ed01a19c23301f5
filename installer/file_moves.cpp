#include "installer/file_moves.h"

#include <windows.h>

#include "common/driver_package.h"
#include "common/names.h"
#include "common/path_text.h"
#include "common/wow64_redirection.h"

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

}  // namespace

void MoveDriverFiles(const char* installFolder, const char* driverDirectory)
{
    for (const char* name : kDriverFiles)
        MoveInto(installFolder, driverDirectory, name);
}

void MoveMonitorLibrary(const char* installFolder)
{
    Wow64RedirectionOff nativeFileSystem;
    char systemDirectory[kPathBufferSize];
    UINT n = ::GetSystemDirectoryA(systemDirectory, sizeof systemDirectory);
    if (n > 0 && n < sizeof systemDirectory)
        MoveInto(installFolder, systemDirectory, VARNEK_MONITOR_LIBRARY);
}
