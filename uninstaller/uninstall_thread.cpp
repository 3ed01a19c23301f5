#include "uninstaller/uninstall_thread.h"

#include "uninstaller/removal.h"
#include "uninstaller/uninstall_dlg.h"

UINT UninstallThread(LPVOID pParam)
{
    CUninstallDlg* dlg = static_cast<CUninstallDlg*>(static_cast<CWizardDlg*>(pParam));
    RemoveInstallation(&dlg->m_progress);

    // Once the dialog may end, the object is not to be touched again.
    HWND hDlg = dlg->m_hWnd;
    dlg->WorkerDone();
    // Reaches OnNext although Next is disabled: the page moves to "finished"
    // on the dialog's own thread.
    ::PostMessageA(hDlg, WM_COMMAND, IDC_NEXT, 0);
    return 0;
}
