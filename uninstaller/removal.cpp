#include "uninstaller/removal.h"

#include "uninstaller/file_removal.h"
#include "uninstaller/printer_service_removal.h"
#include "uninstaller/printer_system_removal.h"
#include "uninstaller/run_once.h"
#include "uninstaller/uninstall_entry_removal.h"

void RemoveInstallation(CProgressCtrl* progress)
{
    RemovePrinterService();
    CStringArray files, folders;
    CollectRemovalLists(files, folders);
    RegisterRunOnceCleanup();
    DeleteListedItems(files, folders, progress);
    RemoveDataFolderSettings();
    RemoveUninstallEntry();
    RemovePrinterSystem();
}
