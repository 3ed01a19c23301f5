#include "installer/install_thread.h"

#include "common/step_log.h"
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
    InstallResults results;
    const InstallOutcome outcome = RunInstallation(folder, progress, results);
    LogStep("end", folder, "wizard", static_cast<unsigned long>(outcome));

    // Once the dialog may end, the object is not to be touched again.
    HWND hDlg = dlg->m_hWnd;
    if (outcome == InstallOutcome::kInstalled || outcome == InstallOutcome::kRestartNeeded) {
        // The finished page shows the status line.
        dlg->ShowStatus(outcome == InstallOutcome::kRestartNeeded ? "请重新启动计算机以完成安装。" : "");
        dlg->WorkerDone();
        // Reaches OnNext although Next is disabled: the page moves to "finished"
        // on the dialog's own thread.
        ::PostMessageA(hDlg, WM_COMMAND, IDC_NEXT, 0);
        return 0;
    }
    // A failure never reaches the finished page: only Cancel is left to end
    // the wizard, after one message naming what failed.
    const char* message = InstallOutcomeMessage(outcome);
    char failures[1024];
    if (!message)
        message = ComposeFailureMessage(failures, sizeof failures, results, StepLogPath()) ? failures : "安装未完成";
    dlg->ShowStatus("安装未完成");
    // The worker is done with the dialog before its box, so that Cancel
    // works the moment the box closes.
    dlg->WorkerDone();
    ::EnableWindow(::GetDlgItem(hDlg, IDC_CANCEL_FINISH), TRUE);
    CInstallDlg::ShowMessageFor(hDlg, message);
    return 0;
}
