// The command lines of the hand-over to the next logon, and what the
// clean-up pass and the finisher accept from theirs: the RunOnce value, the
// finisher's and the self-deletion's command lines. Both modes act on paths
// they are given, so they act only on the installation they belong to.
// Portable (no windows.h), so the quoting is tested natively.
#pragma once

#include <stddef.h>

// IsSameFolder: the clean-up pass runs only when its argument is the folder
// of its own executable.
#include "common/folder_rules.h"

// True when exePath is a file named "Uninstaller.exe" (any letter case)
// directly inside folder: the only file the finisher deletes.
bool IsInstalledUninstaller(const char* exePath, const char* folder);

// Room for every command line composed here: three quoted paths of up to 255
// characters, a handle number and the interpreter's switches.
constexpr size_t kCommandLineSize = 1024;

// Each path is enclosed in double quotes, so blanks never split it. A path
// that holds a quote or ends in a backslash (which CommandLineToArgvW would
// read as an escaped quote) is refused: false, buffer empty. So is a command
// line that does not fit.

// RunOnce data: "exe" "folder".
bool FormatRunOnceData(char* buffer, size_t size, const char* exePath, const char* folder);

// The finisher's command line: "temp copy" handle "exe" "folder", handle
// being the number of the clean-up pass's process handle that the finisher
// inherits.
bool FormatRelaunchCommand(char* buffer, size_t size, const char* tempCopy, unsigned long processHandle,
                           const char* exePath, const char* folder);

// Whether a folder is one that CopySelfToTemp made (its name is Del*.tmp).
bool IsTempCopyFolder(const char* folder);

// The hidden interpreter's command line: "system\cmd.exe" /D /S /C
// ""system\choice.exe" /C Y /N /D Y /T 3 & Del "exe" & Rd "folder"". /D skips
// the AutoRun commands of the registry; the delay command is named by its full
// path, so no choice.exe of the current folder or the PATH runs. Rd (left out
// when exeFolder is null) removes the temporary copy's own folder once it is
// empty. A '%' in any path is refused as well: the interpreter would expand
// it as an environment variable and delete another file.
bool FormatSelfDeleteCommand(char* buffer, size_t size, const char* systemFolder, const char* exePath,
                             const char* exeFolder);
