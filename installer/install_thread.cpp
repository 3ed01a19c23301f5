#include "installer/install_thread.h"

#include "installer/install_dlg.h"
#include "installer/resource.h"

UINT InstallThread(LPVOID pParam)
{
    CInstallDlg* dlg = static_cast<CInstallDlg*>(pParam);
    // The installation steps run here, in order, as they are built.
    dlg->WorkerDone();
    // Reaches OnNext although Next is disabled: the page moves to "finished"
    // on the dialog's own thread.
    dlg->PostMessage(WM_COMMAND, IDC_NEXT, 0);
    return 0;
}
