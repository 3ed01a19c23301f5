// What the installation registered with Windows outside the spooler: the
// printer service and the Programs and Features entry.
#pragma once

#include "uninstaller/steps/removal_step.h"

// Stops "Varnek Printer Service", waits at most 10 seconds for it to reach
// "stopped", and deletes it. A service that is not installed, will not stop
// or cannot be deleted passes silently. The service manager completes the
// deletion once the service has stopped and the uninstaller has ended.
RemovalResult RemovePrinterService();

// Deletes the product's Programs and Features entry (HKLM, 64-bit view).
// Silent when there is none.
RemovalResult RemoveUninstallEntry();

// True while the Programs and Features entry exists: the removal deletes it,
// an installation writes it.
bool IsUninstallEntryPresent();
