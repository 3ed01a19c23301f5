#pragma once

// The nine driver files, from the installation folder into the spooler's
// printer-driver directory.
void MoveDriverFiles(const char* installFolder, const char* driverDirectory);

// The port-monitor library, from the installation folder into the native
// system directory (the 64-bit one under WOW64).
void MoveMonitorLibrary(const char* installFolder);
