#include "installer/install_registry.h"

#include <windows.h>

#include "common/install_folder.h"
#include "common/product.h"

unsigned long WriteInstallRegistry(const char* installFolder, const char* dataFolder)
{
    const unsigned long data = WriteProductKeyValue(kDataDirectoryValue, dataFolder);
    const unsigned long program = WriteProductKeyValue(kProgramDirectoryValue, installFolder);
    return data != ERROR_SUCCESS ? data : program;
}
