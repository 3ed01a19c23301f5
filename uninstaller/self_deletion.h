// Getting the uninstaller's own executable removed: a running program cannot
// delete its own file, so the clean-up pass hands over to a temporary copy,
// and that copy has a hidden command interpreter delete it after it ended.
#pragma once

#include <windows.h>

#include <stddef.h>

// Copies the running executable to a new Del*.tmp in the temporary folder and
// returns its path. On failure no copy is left behind.
bool CopySelfToTemp(char* tempCopy, size_t size);

// Starts the temporary copy as the finisher: "copy" process-id "exe" "folder",
// with this process's id, executable and folder.
bool RelaunchFromTemp(const char* tempCopy);

// Starts a hidden command interpreter from the system folder that deletes the
// running executable three seconds later, and marks the executable for
// deletion at the next restart in case the interpreter is missing, slow or
// loses the race. The caller ends right after. Returns 0 or the error code.
DWORD DeleteSelf();
