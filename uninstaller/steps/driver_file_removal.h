// The printer-driver files the clean-up pass deletes from the spooler's
// driver directory. Portable (no windows.h), so the list is checked natively.
#pragma once

#include <stddef.h>

#include "common/path_text.h"

struct DriverFileRemoval {
    const char* name;
    // The product's own files go from the spooler's version-3 folder as well.
    // The Unidrv files there stay: every Unidrv-based driver uses them.
    bool alsoInVersion3;
};

// The nine files the installer moves into the driver directory, in its
// order, then "VarnekPrinter.BUD", the binary form of the GPD data file that
// Unidrv builds beside it.
constexpr size_t kDriverFileRemovalCount = 10;
extern const DriverFileRemoval kDriverFileRemovals[kDriverFileRemovalCount];

// Calls remove(path) for every path to delete, in order: each name in the
// driver directory, for an own file followed by the same name in its "3"
// folder. A path that does not fit is left out.
template <class Remove>
void ForEachDriverFilePath(const char* driverDirectory, Remove remove)
{
    for (const DriverFileRemoval& file : kDriverFileRemovals) {
        char path[kPathBufferSize];
        if (ComposePath(path, sizeof path, "%s\\%s", driverDirectory, file.name))
            remove(static_cast<const char*>(path));
        if (file.alsoInVersion3 && ComposePath(path, sizeof path, "%s\\3\\%s", driverDirectory, file.name))
            remove(static_cast<const char*>(path));
    }
}
