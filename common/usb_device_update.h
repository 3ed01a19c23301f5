// The forced update of the attached printer's USB driver, shared by the
// installer (32-bit Windows, and its 64-bit build) and the 64-bit helper
// program that makes the update for the 32-bit installer on 64-bit Windows,
// where a 32-bit caller gets ERROR_IN_WOW64.
#pragma once

#include <windows.h>

// The printer's hardware ID, listed by the package's INF.
#define VARNEK_USB_HARDWARE_ID "USB\\VID_03eb&PID_2024"

// Installs infPath's driver on every attached device with the printer's
// hardware ID, even where Windows ranks another driver higher. 0 on
// success, else a Windows error code (never 0). Never requests a restart.
DWORD UpdateUsbDeviceDriver(const char* infPath);
