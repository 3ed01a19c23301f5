#pragma once

// HKLM "Software\VarnekPrinter" in the 64-bit registry view: "Data Directory"
// (read by the driver plug-ins) and "Program Directory" (read by the port
// monitor). A value that does not fit a path buffer is not written. 0 when
// both were written, else the first error.
unsigned long WriteInstallRegistry(const char* installFolder, const char* dataFolder);
