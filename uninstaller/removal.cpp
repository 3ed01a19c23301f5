#include "uninstaller/removal.h"

#include "common/path_text.h"
#include "uninstaller/file_removal.h"
#include "uninstaller/printer_service_removal.h"
#include "uninstaller/printer_system_removal.h"
#include "uninstaller/run_once.h"
#include "uninstaller/uninstall_entry_removal.h"

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
