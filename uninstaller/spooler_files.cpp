#include "uninstaller/spooler_files.h"

#include <windows.h>
#include <winspool.h>

#include "common/names.h"
#include "common/path_text.h"
#include "common/spooler_env.h"
#include "common/step_log.h"
#include "common/wow64_redirection.h"
#include "uninstaller/driver_file_removal.h"

bool GetDriverDirectory(char* buffer, size_t size)
{
    DWORD needed = 0;
    // The call fails rather than cut a path that does not fit.
    return ::GetPrinterDriverDirectoryA(nullptr, const_cast<char*>(SpoolerEnvironment()), 1,
                                        reinterpret_cast<BYTE*>(buffer), static_cast<DWORD>(size), &needed) != 0;
}

RemovalResult DeleteDriverFiles(const char* driverDirectory)
{
    RemovalResult result = RemovalResult::NothingThere();
    // The spooler's folders are exempt from WOW64 redirection: no switch here.
    ForEachDriverFilePath(driverDirectory, [&result](const char* path) {
        const DWORD error = ::DeleteFileA(path) ? ERROR_SUCCESS : ::GetLastError();
        LogDeletion("delete file", path, error);
        result = Combined(result, DeletionResult(error));
    });
    return result;
}

RemovalResult DeleteMonitorLibrary()
{
    Wow64RedirectionOff nativeFileSystem;
    char systemDirectory[kPathBufferSize], library[kPathBufferSize];
    UINT n = ::GetSystemDirectoryA(systemDirectory, sizeof systemDirectory);
    if (n == 0 || n >= sizeof systemDirectory ||
        !ComposePath(library, sizeof library, "%s\\%s", systemDirectory, VARNEK_MONITOR_LIBRARY))
        return RemovalResult::Failed(ERROR_BAD_PATHNAME);
    const DWORD error = ::DeleteFileA(library) ? ERROR_SUCCESS : ::GetLastError();
    LogDeletion("delete file", library, error);
    return DeletionResult(error);
}
