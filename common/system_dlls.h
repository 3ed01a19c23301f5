// The DLL-loading policy of the three programs (installer, uninstaller, USB
// helper). They run elevated from folders anyone can write to (Downloads,
// %TEMP%, the installation folder), so they must load no DLL but Windows' own
// from the system folder:
// - the static import table names KnownDLLs only: the loader maps those from
//   the system folder whatever lies beside the program;
// - the other system DLLs the programs call through an import (comctl32,
//   winspool) are delay-loaded (cmake/windows.cmake), so resolved only after
//   RestrictDllSearchToSystemFolder;
// - a DLL needed for one call (newdev) is loaded with LoadSystemDll.
#pragma once

#include <windows.h>

// Restricts the DLL search of the process to the system folder. The first
// call of every program, before any delay-loaded DLL can be resolved.
void RestrictDllSearchToSystemFolder();

// name (no folder) from the system folder and nowhere else; null with the
// last error set when it cannot be loaded.
HMODULE LoadSystemDll(const char* name);
