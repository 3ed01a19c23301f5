// How an installation run ends. The wizard shows a failure's message in a box
// owned by the dialog; the silent mode ends with the value as its exit code,
// so every box of the wizard has its own code (documented in README.md).
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
};

// The text the wizard shows for a failure; null for kInstalled and for
// kPortFailed, whose box shows the system's own error text.
const char* InstallOutcomeMessage(InstallOutcome outcome);
