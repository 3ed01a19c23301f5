#pragma once

#include <windows.h>

// Installs the package of infPath for the attached printer (forced), or,
// when that fails (no printer attached), places the package in the driver
// store. A 32-bit installer on 64-bit Windows has the forced update made by
// the 64-bit helper that lies beside the INF. 0 on success, else the store
// copy's error code. Never requests a restart.
DWORD InstallUsbDeviceDriver(const char* infPath);

// Starts the helper program at helperPath for infPath and waits for it:
// its exit code (0 when the printer got the driver), or the error that kept
// it from running.
DWORD RunUsbDriverHelper(const char* helperPath, const char* infPath);
