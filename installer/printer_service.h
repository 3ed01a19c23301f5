#pragma once

// Creates, describes and starts "Varnek Printer Service" running
// "<folder>\VKPrinterService.exe". A service of that name that exists
// already is left exactly as it is: not reconfigured, not started.
void InstallPrinterService(const char* installFolder);
