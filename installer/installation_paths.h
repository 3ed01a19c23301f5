// The paths the installation composes inside its folder, measured before the
// folder is created. Portable (no windows.h).
#pragma once

// True when every path the installation composes inside folder fits a path
// buffer: each installed file's path and the quoted service command, the
// longest of them. A folder for which one would not fit is refused on the
// folder page rather than failing half-way through the installation.
bool FitsInstallationPaths(const char* folder);
