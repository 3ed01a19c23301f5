#include "uninstaller/uninstall_dlg.h"

#include "uninstaller/about_dlg.h"
#include "uninstaller/restart.h"
#include "uninstaller/uninstall_pages.h"
#include "uninstaller/uninstall_thread.h"

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
