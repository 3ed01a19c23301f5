#include "uninstaller/uninstall_thread.h"

#include "uninstaller/removal.h"
#include "uninstaller/uninstall_dlg.h"

namespace {

// The removing page's bar as the removal's progress.
class BarProgress final : public RemovalProgress {
public:
    explicit BarProgress(CProgressCtrl& bar) : m_bar(bar) {}
    void SetPosition(int percent) override { m_bar.SetPos(percent); }

private:
    CProgressCtrl& m_bar;
};

}  // namespace

UINT UninstallThread(LPVOID pParam)
{
    CUninstallDlg* dlg = static_cast<CUninstallDlg*>(static_cast<CWizardDlg*>(pParam));
    // Once the dialog may end, the object is not to be touched again: its
    // window is the owner of what the port's monitor shows, and where the
    // worker hands back.
    HWND hDlg = dlg->m_hWnd;
    BarProgress progress(dlg->m_progress);
    RemoveInstallation(&progress, hDlg);
    dlg->WorkerDone();
    // Reaches OnNext although Next is disabled: the page moves to "finished"
    // on the dialog's own thread.
    ::PostMessageA(hDlg, WM_COMMAND, IDC_NEXT, 0);
    return 0;
}
