// What the silent modes accept from their command line. Both act on paths
// they are given, so they act only on the installation they belong to.
#pragma once

// IsSameFolder: the clean-up pass runs only when its argument is the folder
// of its own executable.
#include "common/folder_rules.h"

// True when exePath is a file named "Uninstaller.exe" (any letter case)
// directly inside folder: the only file the finisher deletes.
bool IsInstalledUninstaller(const char* exePath, const char* folder);
