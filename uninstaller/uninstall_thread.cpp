#include "uninstaller/uninstall_thread.h"

#include "common/path_text.h"
#include "uninstaller/file_removal.h"
#include "uninstaller/printer_service_removal.h"
#include "uninstaller/printer_system_removal.h"
#include "uninstaller/run_once.h"
#include "uninstaller/uninstall_dlg.h"

UINT UninstallThread(LPVOID pParam)
{
    CUninstallDlg* dlg = static_cast<CUninstallDlg*>(static_cast<CWizardDlg*>(pParam));
    RemovePrinterService();
    CStringArray files, folders;
    char folder[kPathBufferSize] = "";
    CollectRemovalLists(folder, sizeof folder, files, folders);
    RegisterRunOnceCleanup();
    DeleteListedItems(folder, files, folders, &dlg->m_progress);
    RemoveDataFolderSettings();
    RemovePrinterSystem();

    // Once the dialog may end, the object is not to be touched again.
    HWND hDlg = dlg->m_hWnd;
    dlg->WorkerDone();
    // Reaches OnNext although Next is disabled: the page moves to "finished"
    // on the dialog's own thread.
    ::PostMessageA(hDlg, WM_COMMAND, IDC_NEXT, 0);
    return 0;
}
