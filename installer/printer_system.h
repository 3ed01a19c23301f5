#pragma once

#include "installer/install_outcome.h"
#include "installer/install_progress.h"

// Installs the printing stack for the installation folder: the driver files
// and the monitor library moved into place, the USB device driver, the
// monitor, its port, the driver, the queue "VarnekPrinter" with its printer
// data, and the label forms. An existing queue ends the step before the
// printer data and the forms, on every Windows. Each part records its result
// in results and logs a line; a failed part lets the others run, except that
// the driver is added only when all its files arrived. A port that cannot be
// added is also reported to progress at once.
void InstallPrinterSystem(const char* installFolder, InstallProgress& progress, InstallResults& results);
