#pragma once

#include <windows.h>

// Installs the package of infPath for the attached printer (forced), or,
// when none is attached, places the package in the driver store. 0 on
// success, else the store copy's error code. Never requests a restart.
DWORD InstallUsbDeviceDriver(const char* infPath);
