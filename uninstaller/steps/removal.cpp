#include "uninstaller/steps/removal.h"

#include "common/names.h"
#include "common/path_text.h"
#include "uninstaller/steps/file_removal.h"
#include "uninstaller/steps/hand_over.h"
#include "uninstaller/steps/printer_system_removal.h"
#include "uninstaller/steps/system_removal.h"

RemovalResult RemoveInstallation(RemovalProgress* progress, HWND owner)
{
    RemovalResult result = RemovePrinterService();
    PathList files, folders;
    char folder[kPathBufferSize] = "";
    CollectRemovalLists(folder, sizeof folder, files, folders);
    result = Combined(result, RegisterRunOnceCleanup());
    result = Combined(result, DeleteListedItems(files, folders, progress));
    result = Combined(result, RemoveStartMenuEntries());
    result = Combined(result, RemoveDataFolderSettings());
    result = Combined(result, RemoveUninstallEntry());
    return Combined(result, RemovePrinterSystem(owner));
}

RemovalResult CleanUpInstallation(const char* folder)
{
    PathList files, folders;
    ListInstallationFolder(folder, files, folders);
    RemovalResult result = DeleteListedItems(files, folders, nullptr);
    // Without the driver directory nothing of the spooler's is touched.
    char driverDirectory[kPathBufferSize];
    if (!GetDriverDirectory(driverDirectory, sizeof driverDirectory))
        return Combined(result, RemovalResult::Failed(::GetLastError()));
    // The wizard's deletion fails while the spooler still uses the driver.
    if (IsDriverRegistered(VARNEK_PRINTER_DRIVER))
        result = Combined(result, RemovePrinterDriver(VARNEK_PRINTER_DRIVER));
    // A registered driver without its files could never be used or
    // reinstalled cleanly: its files stay as long as it does.
    if (!IsDriverRegistered(VARNEK_PRINTER_DRIVER))
        result = Combined(result, DeleteDriverFiles(driverDirectory));
    return Combined(result, DeleteMonitorLibrary());
}
