// The printer-driver files the clean-up pass deletes from the spooler's
// driver directory. Portable (no windows.h), so the paths are checked natively.
#pragma once

#include "common/path_text.h"
#include "common/product.h"

// Calls remove(path) for every path to delete, in order: the files the
// installer moves into the driver directory, in its order, then the binary
// data file Unidrv builds beside the GPD; for a file of the product's own the
// same name in the "3" folder follows. A path that does not fit is left out.
template <class Remove>
void ForEachDriverFilePath(const char* driverDirectory, Remove remove)
{
    auto removeName = [&](const char* name, bool alsoInVersion3) {
        char path[kPathBufferSize];
        if (ComposePath(path, sizeof path, "%s\\%s", driverDirectory, name))
            remove(static_cast<const char*>(path));
        if (alsoInVersion3 && ComposePath(path, sizeof path, "%s\\3\\%s", driverDirectory, name))
            remove(static_cast<const char*>(path));
    };
    for (const DriverFile& file : kDriverFiles)
        removeName(DriverFileName(file), file.productOwn);
    removeName(kDriverBinaryDataFile, true);
}
