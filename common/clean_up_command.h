// The RunOnce value through which a removal finishes at the next logon: the
// uninstaller writes it, a reinstallation cancels it. Portable (no windows.h).
#pragma once

// Under HKEY_LOCAL_MACHINE, in the 64-bit registry view.
#define VARNEK_RUN_ONCE_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce"
#define VARNEK_RUN_ONCE_VALUE "DvxUninstaller"

// True when data is the clean-up pass of our uninstaller as the uninstaller
// writes it: "<folder>\Uninstaller.exe" "<folder>" (letter case aside). A
// value of that name that runs anything else is not ours to remove.
bool RunsOurCleanUpPass(const char* data);
