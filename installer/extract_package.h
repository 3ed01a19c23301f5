#pragma once

#include "installer/install_outcome.h"
#include "installer/install_progress.h"

// The installer's own file, opened when the program starts and held until it
// ends; the package is read through this handle, never again by path. One
// instance, made by the application before its first page.
class OwnFileHold {
public:
    OwnFileHold();
    ~OwnFileHold();
    OwnFileHold(const OwnFileHold&) = delete;
    OwnFileHold& operator=(const OwnFileHold&) = delete;
};

// Unpacks the package appended to the installer's own file: the settings
// file into the data folder (an existing one is the user's and stays), every
// other entry into installFolder, with the output path as status text and
// the progress following, one log line per entry.
// The whole package is verified and measured first; nothing is written unless
// it is sound, within its bound, built for this Windows and fits the target
// volumes. Then the printer service is stopped (serviceStopped: it ran and
// was asked to stop). kInstalled when every entry was written;
// kRestartNeeded when a file in use gets its new one at the next restart;
// otherwise the outcome to show (a write failure stops at the entry that
// failed).
InstallOutcome ExtractPackage(const char* installFolder, InstallProgress& progress, bool& serviceStopped);
