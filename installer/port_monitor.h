#pragma once

#include <windows.h>

// Registers "Varnek Monitor" (library "VarnekRt81.dll" in the system
// directory) for the running spooler's environment. 0 when added, else the
// error code (3006 when it is registered already).
DWORD AddPortMonitor();

// Asks the monitor to create "USB PORT:" through its Xcv interface. False,
// with the error code, when the monitor cannot be reached or the call
// fails; a port the monitor refuses (one that exists already) passes.
bool AddUsbPort(DWORD& error);

// The wizard's unowned "ERROR" box for a failed AddUsbPort: the system's text
// for the code, or its number where there is none.
void ShowPortErrorBox(DWORD code);
