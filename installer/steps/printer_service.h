#pragma once

#include "installer/steps/install_results.h"
#include "installer/steps/installation.h"

// Before an upgrade writes over the service's program: stops "Varnek Printer
// Service" when it runs and waits, at most about 30 seconds, until its
// process has ended, so that its file can be replaced. wasRunning tells
// whether it ran. A service that will not stop keeps its file in use, which
// the extraction then replaces at the next restart; that is logged here and
// is no failure of its own.
void StopPrinterService(bool& wasRunning);

// Starts the service again after an extraction that stopped it failed.
void ResumePrinterService();

// Creates, describes and starts "Varnek Printer Service" running
// "<folder>\VKPrinterService.exe". A service of that name that exists
// already keeps its start type, description and account; it is pointed at
// this folder's program and started again when it ran before the upgrade
// (startExisting). kServiceFailed when the service cannot be created,
// updated or started (one marked for deletion included), else kInstalled.
InstallOutcome InstallPrinterService(const Installation& installation, bool startExisting);
