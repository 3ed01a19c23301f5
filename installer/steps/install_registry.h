#pragma once

#include "installer/steps/installation.h"

// HKLM "Software\VarnekPrinter" in the 64-bit registry view: "Data Directory"
// (read by the driver plug-ins) and "Program Directory" (read by the port
// monitor). A value that does not fit a path buffer is not written. One log
// line with the first error; kProductKeyFailed unless both were written.
InstallOutcome WriteInstallRegistry(const Installation& installation);
