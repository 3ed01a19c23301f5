// The installation itself, the same for the wizard and the silent mode: the
// caller has validated the folder (PrepareInstallFolders) and says through
// progress how the run is shown.
#pragma once

#include "installer/install_outcome.h"

// What the installation steps show while they run. The wizard shows it on
// its installing page; the silent mode shows nothing.
class InstallProgress {
public:
    // The status line: what the run is doing (a code page 936 text) ...
    virtual void ShowStatus(const char* text) = 0;
    // ... or the output path (ANSI code page).
    virtual void ShowPath(const char* path) = 0;
    // The progress bar, 0-100.
    virtual void SetProgress(int position) = 0;
    // The port monitor could not be reached, or failed to add the port,
    // with that system error code. The run goes on after it.
    virtual void ReportPortError(unsigned long code) = 0;

protected:
    ~InstallProgress() = default;
};

// Extracts the package, then writes the product key, the Start-menu entry and
// the Programs and Features entry, installs the printing stack, writes the
// product key again and installs the service, one log line per step. A
// failed extraction ends the run with its outcome and nothing after it runs;
// after it every step runs whatever the others did, and results holds each
// one's result. The outcome is results.Outcome().
InstallOutcome RunInstallation(const char* installFolder, InstallProgress& progress, InstallResults& results);
