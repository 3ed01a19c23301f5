// The uninstaller's own command line: the mode an argument count selects,
// and its exit codes. Portable (no windows.h), so it is tested natively.
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
