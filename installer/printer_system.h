#pragma once

#include "installer/install_outcome.h"
#include "installer/install_progress.h"

// Installs the printing stack for the installation folder: the driver files
// and the monitor library moved into place, the USB device driver, the
// monitor, its port, the driver, the queue "VarnekPrinter" with its printer
// data, and the label forms. An existing queue ends the step before the
// printer data and the forms, on every Windows. A port that cannot be added
// is reported to progress at once and the step goes on: kPortFailed then,
// else kInstalled; no other failure is reported.
InstallOutcome InstallPrinterSystem(const char* installFolder, InstallProgress& progress);
