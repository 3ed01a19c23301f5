#include "installer/install_thread.h"

#include "installer/extract_package.h"
#include "installer/install_dlg.h"
#include "installer/resource.h"

UINT InstallThread(LPVOID pParam)
{
    CInstallDlg* dlg = static_cast<CInstallDlg*>(pParam);
    if (ExtractPackage(dlg) != 0) {
        // The package is unusable: only Cancel is left to end the wizard.
        // The worker is done with the dialog before its box, so that Cancel
        // works the moment the box closes.
        dlg->WorkerDone();
        dlg->GetDlgItem(IDC_CANCEL_FINISH).EnableWindow(TRUE);
        dlg->ShowMessage("安装文件已损坏，请联系打印机厂商");
        return 0;
    }
    // The installation steps run here, in order, as they are built.
    dlg->WorkerDone();
    // Reaches OnNext although Next is disabled: the page moves to "finished"
    // on the dialog's own thread.
    dlg->PostMessage(WM_COMMAND, IDC_NEXT, 0);
    return 0;
}
