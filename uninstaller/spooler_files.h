// Where the printing stack's files lie, by the installer's rule, and their
// deletion.
#pragma once

#include <stddef.h>

#include "uninstaller/removal_step.h"

// The printer-driver directory of the running system's spooler environment
// (the environment the installer registered the driver for). False when the
// spooler does not answer or the path does not fit.
bool GetDriverDirectory(char* buffer, size_t size);

// Deletes the driver files the installer moved into driverDirectory (from
// GetDriverDirectory), and the product's own ones from its "3" folder.
RemovalResult DeleteDriverFiles(const char* driverDirectory);

// Deletes the monitor library from the native system directory (the 64-bit
// one under WOW64, where the installer put it).
RemovalResult DeleteMonitorLibrary();
