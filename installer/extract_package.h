#pragma once

#include "installer/install_progress.h"

// Unpacks the package appended to the installer's own file: the settings
// file into the data folder, every other entry into installFolder, with the
// output path as status text and the progress following.
// The whole package is verified first; nothing is written unless it is sound.
// 0 when every entry was processed, -1 when the own file cannot be opened or
// measured, -2 when the package is damaged.
int ExtractPackage(const char* installFolder, InstallProgress& progress);
