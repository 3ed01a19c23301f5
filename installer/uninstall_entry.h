#pragma once

// The product's entry in Programs and Features (HKLM, 64-bit view): name,
// version, publisher, location, icon, the uninstaller's command lines with
// and without "/S", the size of the installation folder's files in KB, and
// no modify or repair. Written whole or not at all when a path does not fit.
// 0 when written, else the first error.
unsigned long WriteUninstallEntry(const char* installFolder);
