// How an installation run ends. The wizard shows a failure's message in a box
// owned by the dialog; the silent mode ends with the value as its exit code,
// so every box of the wizard and every step has its own code (documented in
// README.md). Portable (no windows.h).
#pragma once

#include <stddef.h>

enum class InstallOutcome : int {
    kInstalled = 0,
    kBadCommandLine = 1,        // silent mode only: an unknown switch
    kFolderEmpty = 2,           // "安装文件夹不能为空"
    kFolderInvalid = 3,         // "安装文件夹不是有效文件夹"
    kPackageDamaged = 4,        // "安装文件已损坏，请联系打印机厂商"
    kPackageTooLarge = 5,       // the package inflates past its documented bound
    kDiskFull = 6,              // the target volumes lack the room the package needs
    kWriteFailed = 7,           // an entry could not be written in full
    kWrongArchitecture = 8,     // the packed modules do not fit this Windows
    kPortFailed = 9,            // the port monitor's "ERROR" box
    // Steps after the extraction; each one failing lets the others run.
    kProductKeyFailed = 10,     // HKLM\Software\VarnekPrinter
    kStartMenuFailed = 11,      // the uninstaller's Start-menu shortcut
    kUninstallEntryFailed = 12, // the Programs and Features entry
    kDriverFilesFailed = 13,    // a driver file not copied into the driver directory
    kMonitorLibraryFailed = 14, // the monitor library not copied into the system directory
    kUsbDriverFailed = 15,      // the USB driver package not installed nor stored
    kMonitorFailed = 16,        // the port monitor not registered
    kPrinterDriverFailed = 17,  // the printer driver not added
    kQueueFailed = 18,          // the queue not created
    kServiceFailed = 19,        // the service not stopped, created, updated or started
    // Installed, but a file in use is replaced only at the next restart (as MSI's 3010).
    kRestartNeeded = 3010,
};

// The text the wizard shows for a failure that stops the run before the
// system steps; null for the others, whose failures the closing message names.
const char* InstallOutcomeMessage(InstallOutcome outcome);

// What the closing message calls a failed step; null for an outcome that is no step.
const char* StepName(InstallOutcome outcome);

// The results of the steps of one run, in the order they ran.
class InstallResults {
public:
    // One step's result: kInstalled, kRestartNeeded, or its failure.
    void Record(InstallOutcome outcome);

    // The run's outcome: the first failure; else kRestartNeeded when a step
    // needs the restart; else kInstalled.
    InstallOutcome Outcome() const;

    int FailureCount() const { return m_failureCount; }
    InstallOutcome Failure(int index) const { return m_failures[index]; }

private:
    static constexpr int kMaxFailures = 16;
    InstallOutcome m_failures[kMaxFailures] = {};
    int m_failureCount = 0;
    bool m_restartNeeded = false;
};

// The wizard's closing message for a run with failed steps: each failed step
// by name, once, and where the log is (none when logPath is empty). False,
// buffer empty, when it does not fit.
bool ComposeFailureMessage(char* buffer, size_t size, const InstallResults& results, const char* logPath);

// The "ERROR" box's text when the system has no message for the code (or
// the port command failed without saying why): the code in decimal and
// hexadecimal, so that it can still be looked up. False when it does not fit.
bool ComposePortErrorText(char* buffer, size_t size, unsigned long code);
