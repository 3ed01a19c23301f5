// The hand-over from the removal to the next logon, and getting the
// uninstaller's own executable removed: the removal registers the clean-up
// pass in RunOnce; a running program cannot delete its own file, so the
// clean-up pass hands over to a temporary copy, and that copy has a hidden
// command interpreter delete it after it ended.
#pragma once

#include <windows.h>

#include <stddef.h>

#include "uninstaller/steps/removal_step.h"

// The running executable's full path; false when it does not fit the buffer
// (GetModuleFileNameA would cut it short).
bool GetOwnPath(char* buffer, size_t size);

// The folder of the running executable: its path up to the last backslash.
bool GetOwnFolder(char* buffer, size_t size);

// Registers the clean-up pass that Windows runs once at the next logon: HKLM
// RunOnce value "DvxUninstaller" = "exe" "folder", in the 64-bit registry
// view. Nothing is written when the key cannot be opened or the paths cannot
// be quoted.
RemovalResult RegisterRunOnceCleanup();

// The uninstaller's temporary copy: Uninstaller.exe in a fresh Del*.tmp
// folder of the temporary folder, a folder only administrators and SYSTEM
// can write to, held open (shared for reading only) until it is started, so
// nobody can replace the program that then runs elevated.
struct TempCopy {
    char folder[MAX_PATH];
    char path[MAX_PATH];
    HANDLE held;
};

// Makes the copy of the running executable. On failure nothing is left behind.
bool CopySelfToTemp(TempCopy* copy);

// Starts the temporary copy as the finisher: "copy" handle "exe" "folder",
// with an inherited handle to this process (an id could name another
// process once this one ended), its executable and folder.
bool RelaunchFromTemp(const TempCopy& copy);

// Lets go of the copy; one that was not started is deleted with its folder.
void ReleaseTempCopy(TempCopy* copy, bool started);

// Starts a hidden command interpreter from the system folder, in the system
// folder, that deletes the running executable three seconds later, and marks
// it for deletion at the next restart in case the interpreter is missing, slow
// or loses the race. Run from a temporary copy, its Del*.tmp folder goes the
// same way after it (a folder goes only when empty). The caller ends right after.
RemovalResult DeleteSelf();
