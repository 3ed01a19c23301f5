#pragma once

#include "uninstaller/removal_step.h"

// The clean-up pass's removal at the next logon: what is left of the
// installation folder (all but the running executable, which the finisher
// deletes), then the printer driver again if it is still registered, its
// files once it is not, and the monitor library, which the spooler may have
// held during the wizard.
RemovalResult CleanUpInstallation(const char* folder);
