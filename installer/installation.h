// The installation itself, the same for the wizard and the silent mode: the
// caller has validated the folder (PrepareInstallFolders) and says through
// progress how the run is shown.
#pragma once

#include "installer/install_outcome.h"
#include "installer/install_progress.h"

// Extracts the package, then writes the product key, the Start-menu entry and
// the Programs and Features entry, installs the printing stack, writes the
// product key again and installs the service, one log line per step. A
// failed extraction ends the run with its outcome and nothing after it runs;
// after it every step runs whatever the others did, and results holds each
// one's result. The outcome is results.Outcome().
InstallOutcome RunInstallation(const char* installFolder, InstallProgress& progress, InstallResults& results);
