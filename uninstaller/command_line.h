// The uninstaller's command lines: the mode an argument count selects, and the
// command lines it writes for the clean-up pass, the finisher and the
// self-deletion. Portable (no windows.h), so the quoting is tested natively.
#pragma once

#include <stddef.h>

enum class UninstallMode {
    kWizard,          // no argument
    kSilentRemoval,   // "/S" alone
    kCleanUpPass,     // the installation folder
    kFinisher,        // process handle, executable path, folder
    kBadCommandLine,  // any other switch
};

// Takes a "/LOG=file" argument out of argv before the mode is chosen, so the
// modes keep their argument counts: argc and argv then hold the rest, and
// logFile the file (null without one). Any mode takes it; the clean-up pass
// and the finisher are started without it and append to the default log.
// False for "/LOG=" without a file or given twice.
bool TakeLogSwitch(int& argc, wchar_t** argv, const wchar_t*& logFile);

// argc as CommandLineToArgvW counts it, the program path included;
// firstArgument is the argument after the program path, or null. An argument
// that begins with '/' is a switch: the clean-up pass always gets an
// absolute folder and the finisher a process handle number, so neither is mistaken
// for one.
UninstallMode ChooseMode(int argc, const wchar_t* firstArgument);

// The exit codes of the uninstaller's modes.
enum class UninstallExit : int {
    kDone = 0,            // removed, with the clean-up pass registered for the next logon
    kBadCommandLine = 1,  // a switch other than a lone "/S" and "/LOG=file"
};

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
