#pragma once

#include <stddef.h>

#include "installer/install_outcome.h"

// The proposed installation folder: "%ProgramFiles%\VarnekPrinter" expanded.
// False (buffer empty) when it does not fit.
bool DefaultInstallFolder(char* buffer, size_t size);

// The checks made when the folder is confirmed, by the wizard's folder page
// and by the silent mode alike: the folder is not empty, may be installed
// into and can be created; the data folder is settled and created.
// kInstalled when the installation may start, else kFolderEmpty or
// kFolderInvalid. Levels created before a failure stay.
InstallOutcome ValidateInstallFolder(const char* folder);
