#include "uninstaller/clean_up_installation.h"

#include "uninstaller/file_removal.h"

void CleanUpInstallation(const char* folder)
{
    CStringArray files, folders;
    ListInstallationFolder(folder, files, folders);
    DeleteListedItems(files, folders, nullptr);
    // The printer-driver files and the monitor library are deleted here.
}
