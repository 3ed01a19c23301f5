#include "installer/install_thread.h"

#include "installer/data_folder.h"
#include "installer/extract_package.h"
#include "installer/install_dlg.h"
#include "installer/install_outcome.h"
#include "installer/install_registry.h"
#include "installer/packed_machine.h"
#include "installer/printer_service.h"
#include "installer/printer_system.h"
#include "installer/resource.h"
#include "installer/start_menu.h"

UINT InstallThread(LPVOID pParam)
{
    CInstallDlg* dlg = static_cast<CInstallDlg*>(static_cast<CWizardDlg*>(pParam));
    const InstallOutcome extracted = ExtractPackage(dlg);
    if (extracted != InstallOutcome::kInstalled) {
        // Nothing is registered on missing files: only Cancel is left to end the wizard.
        // The worker is done with the dialog before its box, so that Cancel
        // works the moment the box closes.
        dlg->WorkerDone();
        dlg->GetDlgItem(IDC_CANCEL_FINISH).EnableWindow(TRUE);
        dlg->ShowMessage(InstallOutcomeMessage(extracted));
        return 0;
    }
    // Each step reads the folder box afresh: it is the folder's only copy.
    WriteInstallRegistry(dlg->GetInstallFolder(), g_szDataDir);
    CreateStartMenuEntry(dlg->GetInstallFolder());
    dlg->ShowStatus("正在安装打印机驱动，请稍候...");
    InstallPrinterSystem(dlg->GetInstallFolder());
    WriteInstallRegistry(dlg->GetInstallFolder(), g_szDataDir);
    InstallPrinterService(dlg->GetInstallFolder());
    dlg->WorkerDone();
    // Reaches OnNext although Next is disabled: the page moves to "finished"
    // on the dialog's own thread.
    dlg->PostMessage(WM_COMMAND, IDC_NEXT, 0);
    return 0;
}
