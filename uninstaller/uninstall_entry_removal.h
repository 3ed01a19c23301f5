#pragma once

#include "uninstaller/removal_step.h"

// Deletes the product's Programs and Features entry (HKLM, 64-bit view).
// Silent when there is none.
RemovalResult RemoveUninstallEntry();

// True while the Programs and Features entry exists: the removal deletes it,
// an installation writes it.
bool IsUninstallEntryPresent();
