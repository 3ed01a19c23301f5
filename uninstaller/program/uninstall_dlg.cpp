#include "uninstaller/program/uninstall_dlg.h"

#include "common/names.h"
#include "uninstaller/program/uninstall_pages.h"
#include "uninstaller/steps/removal.h"

namespace {

// The about box of the system menu: program title and package version.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* pParentWnd) : CDialog(IDD_ABOUTBOX, pParentWnd) {}

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        GetDlgItem(IDC_ABOUT_VERSION).SetWindowText("版本 " VARNEK_PACKAGE_VERSION);
        return TRUE;
    }
};

// The removing page's bar as the removal's progress.
class BarProgress final : public RemovalProgress {
public:
    explicit BarProgress(CProgressCtrl& bar) : m_bar(bar) {}
    void SetPosition(int percent) override { m_bar.SetPos(percent); }

private:
    CProgressCtrl& m_bar;
};

// The removal worker, started on the removing page with the dialog as its
// parameter. Hands back to the dialog by posting the Next command.
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

// Asks Windows to restart: enables the shutdown privilege, then
// ExitWindowsEx(EWX_REBOOT) without forcing. Whether Windows agrees is not
// looked at.
void RestartWindows()
{
    HANDLE token;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) {
        TOKEN_PRIVILEGES privileges = {};
        privileges.PrivilegeCount = 1;
        privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
        if (::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
            ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
        ::CloseHandle(token);
    }
    ::ExitWindowsEx(EWX_REBOOT, 0);
}

}  // namespace

CUninstallDlg::CUninstallDlg() : CWizardDlg(IDD_UNINSTALL, g_uninstallPages) {}

BOOL CUninstallDlg::OnInitDialog()
{
    CWizardDlg::OnInitDialog();
    AddAboutMenuItem();
    return TRUE;
}

void CUninstallDlg::AddAboutMenuItem()
{
    HMENU menu = GetSystemMenu(FALSE);
    wchar_t text[128];
    if (!menu || ::LoadStringW(::GetModuleHandleW(nullptr), IDS_ABOUTBOX, text, sizeof text / sizeof text[0]) <= 0)
        return;
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, text);
}

bool CUninstallDlg::OnSysCommand(UINT nID, LPARAM)
{
    if ((nID & 0xFFF0) != IDM_ABOUTBOX)
        return false;
    CAboutDlg about(this);
    about.DoModal();
    return true;
}

void CUninstallDlg::OnNext()
{
    m_wndPage.m_nPage += 1;
    switch (m_wndPage.m_nPage) {
    case 1:
        EnterRemovingPage();
        break;
    case 2:
        EnterFinishedPage();
        break;
    case 3:
        // A Next command on the finished page finishes; OnCancel restarts
        // when the box is ticked.
        OnCancel();
        break;
    }
}

void CUninstallDlg::EnterRemovingPage()
{
    m_wndPage.ShowFolderControls(TRUE);
    EnterWorkingPage(UninstallThread);
}

void CUninstallDlg::EnterFinishedPage()
{
    GetDlgItem(IDC_RESTART).SendMessage(BM_SETCHECK, BST_CHECKED);
    Show(IDC_RESTART, true);
    m_wndPage.SetStatus("");
    m_wndPage.InvalidateRect(nullptr, TRUE);
    Show(IDC_NEXT, false);
    Show(IDC_BACK, false);
    GetDlgItem(IDC_CANCEL_FINISH).SetWindowText("完成");
    m_progress.ShowWindow(SW_HIDE);
    Enable(IDC_CANCEL_FINISH, true);
}

bool CUninstallDlg::IsRestartTicked() const
{
    return GetDlgItem(IDC_RESTART).SendMessage(BM_GETCHECK) != BST_UNCHECKED;
}

void CUninstallDlg::OnCancel()
{
    if (IsWorkerBusy())
        return;
    if (IsRestartTicked())
        RestartWindows();
    CWizardDlg::OnCancel();
}
