#pragma once

#include "installer/install_outcome.h"
#include "installer/install_progress.h"

// The installer's own file, opened when the program starts and held until it
// ends; the package is read through this handle, never again by path. One
// static instance, made before WinMain runs.
class OwnFileHold {
public:
    OwnFileHold();
    ~OwnFileHold();
    OwnFileHold(const OwnFileHold&) = delete;
    OwnFileHold& operator=(const OwnFileHold&) = delete;
};

// Unpacks the package appended to the installer's own file: the settings
// file into the data folder, every other entry into installFolder, with the
// output path as status text and the progress following.
// The whole package is verified and measured first; nothing is written unless
// it is sound, within its bound, built for this Windows and fits the target
// volumes. kInstalled when every entry was written or, being in use, kept;
// otherwise the outcome to show (a write failure stops at the entry that
// failed).
InstallOutcome ExtractPackage(const char* installFolder, InstallProgress& progress);
