#include "installer/steps/installation_paths.h"

#include "common/installed_files.h"
#include "common/path_text.h"

bool FitsInstallationPaths(const char* folder)
{
    char path[kPathBufferSize];
    if (!ComposeServiceCommand(path, sizeof path, folder))
        return false;
    for (int i = 0; i < kInstalledFileCount; ++i) {
        if (!ComposePath(path, sizeof path, "%s\\%s", folder, kInstalledFileNames[i]))
            return false;
    }
    return true;
}

bool ComposeServiceCommand(char* buffer, size_t size, const char* installFolder)
{
    return ComposePath(buffer, size, "\"%s\\VKPrinterService.exe\"", installFolder);
}
