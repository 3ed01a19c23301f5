// Taking the printing stack out of the spooler again, by the names the
// installer registered it under. Nothing is reported: each failure is
// skipped and the next step follows.
#pragma once

#include <windows.h>

// Deletes every local queue that uses "Varnek Printer Driver" (through the
// first of them the removal forms as well) and drops every connection to
// another computer's queue that uses it, then the driver, the port "USB PORT:"
// and the monitor "Varnek Monitor". The port's monitor may show windows:
// they are owned by the application's main window. The result is
// RemovePortMonitor's.
int RemovePrinterSystem();

// Nonzero when the queue was deleted.
int DeletePrinterByName(const char* printerName);

// 1 when the spooler deleted the driver (for the running system's
// environment), else 0. Its data file is deleted from the driver directory's
// "3" folder either way.
int RemovePrinterDriver(const char* driverName);

// True when the spooler lists the driver for the running system's
// environment, or when it does not answer (then nothing is known).
bool IsDriverRegistered(const char* driverName);

// 1 when the spooler deleted the port, else 0. Only a port that the spooler
// lists as one of "Varnek Monitor"'s is deleted.
int RemovePrinterPort(HWND parent, const char* portName);

// 1 when the spooler deleted the monitor, else 0. A monitor it would not
// delete (one registered for another environment) is taken out of the
// registry directly and its library deleted; after a successful deletion the
// spooler may still hold the library, which the clean-up pass deletes.
int RemovePortMonitor(const char* monitorName);
