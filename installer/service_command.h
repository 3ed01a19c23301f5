#pragma once

#include <stddef.h>

// The printer service's image path: "<folder>\VKPrinterService.exe" in
// double quotes. Unquoted, a folder with a blank (the default under
// "Program Files") would let the service manager start "C:\Program.exe" as
// the local system account. False (buffer empty) when it does not fit.
bool ComposeServiceCommand(char* buffer, size_t size, const char* installFolder);
