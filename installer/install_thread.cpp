#include "installer/install_thread.h"

#include "installer/install_dlg.h"
#include "installer/installation.h"
#include "installer/port_monitor.h"
#include "installer/resource.h"

namespace {

// The installing page: status line, progress bar, and the port's "ERROR"
// box, after which the run goes on.
class WizardProgress : public InstallProgress {
public:
    explicit WizardProgress(CInstallDlg* dlg) : m_dlg(dlg) {}

    void ShowStatus(const char* text) override { m_dlg->ShowStatus(text); }
    void ShowPath(const char* path) override { m_dlg->ShowPath(path); }
    void SetProgress(int position) override { m_dlg->m_progress.SetPos(position); }
    void ReportPortError(unsigned long code) override { ShowPortErrorBox(code); }

private:
    CInstallDlg* m_dlg;
};

}  // namespace

UINT InstallThread(LPVOID pParam)
{
    CInstallDlg* dlg = static_cast<CInstallDlg*>(static_cast<CWizardDlg*>(pParam));
    // The folder box is hidden while the worker runs: this copy stays its text.
    CString folder = dlg->GetInstallFolder();
    WizardProgress progress(dlg);
    InstallOutcome outcome = RunInstallation(folder, progress);
    if (!RanToTheEnd(outcome)) {
        // Only Cancel is left to end the wizard. The worker is done with the
        // dialog before its box, so that Cancel works the moment the box closes.
        dlg->WorkerDone();
        dlg->GetDlgItem(IDC_CANCEL_FINISH).EnableWindow(TRUE);
        dlg->ShowMessage(InstallOutcomeMessage(outcome));
        return 0;
    }
    dlg->WorkerDone();
    // Reaches OnNext although Next is disabled: the page moves to "finished"
    // on the dialog's own thread.
    dlg->PostMessage(WM_COMMAND, IDC_NEXT, 0);
    return 0;
}
