#include "uninstaller/removal.h"

#include "common/path_text.h"
#include "uninstaller/file_removal.h"
#include "uninstaller/printer_service_removal.h"
#include "uninstaller/printer_system_removal.h"
#include "uninstaller/run_once.h"
#include "uninstaller/uninstall_entry_removal.h"

void RemoveInstallation(CProgressCtrl* progress)
{
    RemovePrinterService();
    CStringArray files, folders;
    char folder[kPathBufferSize] = "";
    CollectRemovalLists(folder, sizeof folder, files, folders);
    RegisterRunOnceCleanup();
    DeleteListedItems(files, folders, progress);
    RemoveStartMenuEntries();
    RemoveDataFolderSettings();
    RemoveUninstallEntry();
    RemovePrinterSystem();
}
