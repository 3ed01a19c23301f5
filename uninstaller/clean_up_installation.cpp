#include "uninstaller/clean_up_installation.h"

#include "uninstaller/file_removal.h"
#include "uninstaller/spooler_files.h"

void CleanUpInstallation(const char* folder)
{
    CStringArray files, folders;
    ListInstallationFolder(folder, files, folders);
    DeleteListedItems(files, folders, nullptr);
    // Without the driver directory nothing of the spooler's is touched.
    if (DeleteDriverFiles())
        DeleteMonitorLibrary();
}
