// The removal itself, the same for the wizard and "/S".
#pragma once

#include "framework/afx.h"

// Stops and deletes the service, registers the clean-up pass for the next
// logon, deletes the installation folder's tree and the Start-menu entries
// (what is in use stays for the clean-up pass), the settings file, the
// Programs and Features entry and the printing stack. progress: the wizard's
// bar, or null. Reports nothing: a failed item stays.
void RemoveInstallation(CProgressCtrl* progress);
