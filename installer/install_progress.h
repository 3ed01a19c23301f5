// What the installation steps show while they run. The wizard shows it on
// its installing page; the silent mode shows nothing.
#pragma once

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
