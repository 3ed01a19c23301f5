#pragma once

#include "uninstaller/removal_step.h"

// Registers the clean-up pass that Windows runs once at the next logon: HKLM
// RunOnce value "DvxUninstaller" = "exe" "folder", in the 64-bit registry
// view. Nothing is written when the key cannot be opened or the paths cannot
// be quoted.
RemovalResult RegisterRunOnceCleanup();
