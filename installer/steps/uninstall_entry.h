#pragma once

#include "installer/steps/installation.h"

// The product's entry in Programs and Features (HKLM, 64-bit view): name,
// version, publisher, location, icon, the uninstaller's command lines with
// and without "/S", the size of the installation folder's files in KB, and
// no modify or repair. Written whole or not at all when a path does not fit.
// One log line with the first error; kUninstallEntryFailed unless written.
InstallOutcome WriteUninstallEntry(const Installation& installation);
