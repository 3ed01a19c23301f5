// The paths the installation composes inside its folder, measured before the
// folder is created. Portable (no windows.h).
#pragma once

#include <stddef.h>

// True when every path the installation composes inside folder fits a path
// buffer: each installed file's path and the quoted service command, the
// longest of them. A folder for which one would not fit is refused on the
// folder page rather than failing half-way through the installation.
bool FitsInstallationPaths(const char* folder);

// The printer service's image path: "<folder>\VKPrinterService.exe" in
// double quotes. Unquoted, a folder with a blank (the default under
// "Program Files") would let the service manager start "C:\Program.exe" as
// the local system account. False (buffer empty) when it does not fit.
bool ComposeServiceCommand(char* buffer, size_t size, const char* installFolder);
