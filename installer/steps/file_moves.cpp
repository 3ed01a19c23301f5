#include "installer/steps/file_moves.h"

#include <windows.h>

#include "common/names.h"
#include "common/path_text.h"
#include "common/product.h"
#include "common/step_log.h"
#include "common/wow64_redirection.h"

namespace {

// Copies name from fromFolder over the file in toFolder, then deletes the
// source. A target held by another process (a monitor library the spooler
// has loaded) gets the new file beside it, which replaces it at the next
// restart. A copy that fails keeps the source, so nothing is lost and the
// next run can try again.
InstallOutcome MoveInto(const char* step, const char* fromFolder, const char* toFolder, const char* name,
                        InstallOutcome failure)
{
    char source[kPathBufferSize];
    char target[kPathBufferSize];
    if (!ComposePath(source, sizeof source, "%s\\%s", fromFolder, name) ||
        !ComposePath(target, sizeof target, "%s\\%s", toFolder, name)) {
        LogStep(step, name, "path too long", ERROR_FILENAME_EXCED_RANGE);
        return failure;
    }
    if (::CopyFileA(source, target, FALSE)) {
        ::DeleteFileA(source);
        LogStep(step, target, "ok", 0);
        return InstallOutcome::kInstalled;
    }
    DWORD error = ::GetLastError();
    if (!IsInUseError(error)) {
        LogStep(step, target, "failed", error);
        return failure;
    }
    char replacement[kPathBufferSize];
    if (!ComposeReplacementPath(replacement, sizeof replacement, target)) {
        LogStep(step, target, "in use, path too long", ERROR_FILENAME_EXCED_RANGE);
        return failure;
    }
    if (!::CopyFileA(source, replacement, FALSE)) {
        LogStep(step, replacement, "failed", ::GetLastError());
        return failure;
    }
    unsigned long scheduleError = 0;
    if (!ReplaceAtRestart(replacement, target, scheduleError)) {
        ::DeleteFileA(replacement);
        LogStep(step, target, "in use, not scheduled", scheduleError);
        return failure;
    }
    ::DeleteFileA(source);
    LogStep(step, target, "in use, replaced at restart", error);
    return InstallOutcome::kRestartNeeded;
}

}  // namespace

bool IsInUseError(unsigned long error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_USER_MAPPED_FILE;
}

bool ComposeReplacementPath(char* buffer, unsigned size, const char* target)
{
    return ComposePath(buffer, size, "%s.new", target);
}

bool ReplaceAtRestart(const char* replacement, const char* target, unsigned long& error)
{
    if (::MoveFileExA(replacement, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT))
        return true;
    error = ::GetLastError();
    return false;
}

InstallOutcome MoveDriverFiles(const char* installFolder, const char* driverDirectory)
{
    InstallResults results;
    for (const DriverFile& file : kDriverFiles)
        results.Record(MoveInto("driver file", installFolder, driverDirectory, DriverFileName(file),
                                InstallOutcome::kDriverFilesFailed));
    return results.Outcome();
}

InstallOutcome MoveMonitorLibrary(const char* installFolder)
{
    Wow64RedirectionOff nativeFileSystem;
    char systemDirectory[kPathBufferSize];
    UINT n = ::GetSystemDirectoryA(systemDirectory, sizeof systemDirectory);
    if (n == 0 || n >= sizeof systemDirectory) {
        LogStep("monitor library", VARNEK_MONITOR_LIBRARY, "no system directory", ::GetLastError());
        return InstallOutcome::kMonitorLibraryFailed;
    }
    return MoveInto("monitor library", installFolder, systemDirectory, VARNEK_MONITOR_LIBRARY,
                    InstallOutcome::kMonitorLibraryFailed);
}
