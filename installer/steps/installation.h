// The installation itself, the same for the wizard and the silent mode: the
// caller has prepared the installation (PrepareInstallation) and says through
// progress how the run is shown.
#pragma once

#include "common/path_text.h"
#include "installer/steps/install_results.h"

// Where an installation goes, settled once when the folder page is left (or
// from "/S /D="): every step takes it, none reads the folder box again.
// Value-initialise it (`{}`): default member initialisers would make the
// compiler keep a zero copy of it in the image's data to copy from.
struct Installation {
    char folder[kPathBufferSize];      // canonical: no trailing separator, long form
    char dataFolder[kPathBufferSize];  // where the settings file goes
    bool ownsFolder;                   // recorded as "Owned Folder": the uninstaller may empty it
};

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
InstallOutcome RunInstallation(const Installation& installation, InstallProgress& progress, InstallResults& results);
