// The removal itself, the same for the wizard and "/S".
#pragma once

#include <windows.h>

#include "uninstaller/removal_step.h"

// Stops and deletes the service, registers the clean-up pass for the next
// logon, deletes the installation folder's tree and the Start-menu entries
// (what is in use stays for the clean-up pass), the settings file, the
// Programs and Features entry and the printing stack. progress: the wizard's
// bar, or null; owner: the window that owns what the port's monitor shows,
// or null. Every step runs whatever the others reported: a failed item stays.
RemovalResult RemoveInstallation(RemovalProgress* progress, HWND owner);
