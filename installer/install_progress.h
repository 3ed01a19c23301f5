// What the installation steps show while they run. The wizard shows it on
// its installing page; the silent mode shows nothing.
#pragma once

class InstallProgress {
public:
    // The status line: an output path, or what the run is doing.
    virtual void ShowStatus(const char* text) = 0;
    // The progress bar, 0-100.
    virtual void SetProgress(int position) = 0;
    // The port monitor could not be reached, or failed to add the port,
    // with that system error code. The run goes on after it.
    virtual void ReportPortError(unsigned long code) = 0;

protected:
    ~InstallProgress() = default;
};
