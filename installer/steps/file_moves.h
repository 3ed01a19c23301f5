#pragma once

#include "installer/steps/install_results.h"

// The nine driver files, from the installation folder into the spooler's
// printer-driver directory. kInstalled when all arrived; kRestartNeeded when
// one in use replaces its old copy at the next restart; kDriverFilesFailed
// when one could not be copied (its source stays in the installation folder).
InstallOutcome MoveDriverFiles(const char* installFolder, const char* driverDirectory);

// The port-monitor library, from the installation folder into the native
// system directory (the 64-bit one under WOW64); the same outcomes, with
// kMonitorLibraryFailed.
InstallOutcome MoveMonitorLibrary(const char* installFolder);

// "<target>.new", the file that replaces target at the next restart. False
// when it does not fit.
bool ComposeReplacementPath(char* buffer, unsigned size, const char* target);

// Has Windows move replacement over target at the next restart (administrator
// rights needed). False, with the error code, when it cannot be scheduled.
bool ReplaceAtRestart(const char* replacement, const char* target, unsigned long& error);

// Whether a failed open for writing means the file is held by another process.
bool IsInUseError(unsigned long error);
