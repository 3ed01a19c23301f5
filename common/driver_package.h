// What the printer driver consists of: the files moved into the spooler's
// driver directory (and deleted from it by the uninstaller) and the
// DRIVER_INFO_3 it is registered with. Plain data (no windows.h), so that it
// is checked natively.
#pragma once

#include <stddef.h>

// Moved from the installation folder into the printer-driver directory, in
// this order. The file system matches names without regard to case.
constexpr size_t kDriverFileCount = 9;
extern const char* const kDriverFiles[kDriverFileCount];

// DRIVER_INFO_3 (cVersion 3; no monitor, no default data type). All bare
// file names: the spooler looks for them in its driver directory.
constexpr unsigned kDriverVersion = 3;
extern const char kDriverPath[];
extern const char kDriverDataFile[];
extern const char kDriverConfigFile[];
extern const char kDriverHelpFile[];

// The dependent files as a multi-string: each name ended by a zero, the list
// ended by a further zero. kDriverDependentFilesSize counts every byte.
extern const char kDriverDependentFiles[];
extern const size_t kDriverDependentFilesSize;
