// Taking the printing stack out of the spooler again, by the names the
// installer registered it under, and deleting its files where the
// installer's rule put them. Each failure is skipped and the next part
// follows; the result tells the first.
#pragma once

#include <windows.h>

#include <stddef.h>

#include "uninstaller/steps/removal_step.h"

// Deletes every local queue that uses "Varnek Printer Driver" (through the
// first of them the removal forms as well) and drops every connection to
// another computer's queue that uses it, then the driver, the port "USB PORT:"
// and the monitor "Varnek Monitor". The port's monitor may show windows:
// they are owned by owner (the wizard's dialog, or null without a window).
RemovalResult RemovePrinterSystem(HWND owner);

RemovalResult DeletePrinterByName(const char* printerName);

// The spooler's deletion of the driver (for the running system's
// environment). Its data file is deleted from the driver directory's "3"
// folder either way.
RemovalResult RemovePrinterDriver(const char* driverName);

// True when the spooler lists the driver for the running system's
// environment, or when it does not answer (then nothing is known).
bool IsDriverRegistered(const char* driverName);

// Only a port that the spooler lists as one of "Varnek Monitor"'s is
// deleted; any other is nothing there.
RemovalResult RemovePrinterPort(HWND owner, const char* portName);

// The spooler's deletion of the monitor. A monitor it would not delete (one
// registered for another environment) is taken out of the registry directly
// and its library deleted; after a successful deletion the spooler may still
// hold the library, which the clean-up pass deletes.
RemovalResult RemovePortMonitor(const char* monitorName);

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
