// The removal's two sequences: the removal itself, the same for the wizard
// and "/S", and what the clean-up pass removes at the next logon.
#pragma once

#include <windows.h>

#include "uninstaller/steps/removal_step.h"

// Stops and deletes the service, registers the clean-up pass for the next
// logon, deletes the installation folder's tree and the Start-menu entries
// (what is in use stays for the clean-up pass), the settings file, the
// Programs and Features entry and the printing stack. progress: the wizard's
// bar, or null; owner: the window that owns what the port's monitor shows,
// or null. Every step runs whatever the others reported: a failed item stays.
RemovalResult RemoveInstallation(RemovalProgress* progress, HWND owner);

// The clean-up pass's removal at the next logon: what is left of the
// installation folder (all but the running executable, which the finisher
// deletes), then the printer driver again if it is still registered, its
// files once it is not, and the monitor library, which the spooler may have
// held during the wizard.
RemovalResult CleanUpInstallation(const char* folder);
