#pragma once

// Installs the printing stack for the installation folder: the driver files
// and the monitor library moved into place, the USB device driver, the
// monitor, its port, the driver, the queue "VarnekPrinter" with its printer
// data, and the label forms. Reports nothing; an existing queue ends the
// step before the printer data and the forms, on every Windows.
void InstallPrinterSystem(const char* installFolder);
