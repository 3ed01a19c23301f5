// How an installation ends, and each of its steps, from the package reader
// up to the process: one vocabulary. The wizard shows a failure's message in
// a box owned by the dialog; the silent mode ends with the value as its exit
// code, so every box of the wizard and every step has its own code
// (documented in README.md). Portable (no windows.h): the package reader,
// the packer's tests and the fuzzer share it.
#pragma once

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
