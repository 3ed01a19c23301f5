#pragma once

#include <windows.h>

// Registers "Varnek Monitor" (library "VarnekRt81.dll" in the system
// directory) for the running spooler's environment. 0 when added, else the
// error code (3006 when it is registered already).
DWORD AddPortMonitor();

// Asks the monitor to create "USB PORT:" through its Xcv interface. 1 when
// the interface was opened (whatever the monitor answered), 0 when not.
// A failure to reach the monitor is shown in an unowned "ERROR" box; a port
// the monitor refuses (one that exists already) passes silently.
int AddUsbPort();
