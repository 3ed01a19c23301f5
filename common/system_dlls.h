// Both programs run elevated from folders anyone can write to (Downloads,
// %TEMP%): they must load no DLL but Windows' own from the system folder.
// KnownDLLs always come from there; every other DLL is delay-loaded (see
// cmake/delay_import_lib.py) and so resolved only after this restriction.
#pragma once

// Restricts the DLL search of the process to the system folder. Called first
// thing in WinMain, before any delay-loaded DLL can be resolved.
void RestrictDllSearchToSystemFolder();
