#include "installer/steps/install_registry.h"

#include <windows.h>

#include "common/install_folder.h"
#include "common/names.h"
#include "common/product.h"
#include "common/step_log.h"

InstallOutcome WriteInstallRegistry(const Installation& installation)
{
    const unsigned long data = WriteProductKeyValue(kDataDirectoryValue, installation.dataFolder);
    const unsigned long program = WriteProductKeyValue(kProgramDirectoryValue, installation.folder);
    const unsigned long error = data != ERROR_SUCCESS ? data : program;
    LogResult("product key", VARNEK_PRODUCT_KEY, error);
    return error == ERROR_SUCCESS ? InstallOutcome::kInstalled : InstallOutcome::kProductKeyFailed;
}
