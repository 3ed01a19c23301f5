#include "uninstaller/uninstall_dlg.h"

#include "uninstaller/about_dlg.h"
#include "uninstaller/restart.h"
#include "uninstaller/uninstall_pages.h"
#include "uninstaller/uninstall_thread.h"

namespace {

const int kWindowWidth = 503;
const int kWindowHeight = 365;

}  // namespace

CUninstallDlg::CUninstallDlg() : CDialog(IDD_UNINSTALL), m_wndPage(g_uninstallPages)
{
    m_hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

void CUninstallDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
}

BOOL CUninstallDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    AddAboutMenuItem();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    // The top-left corner stays where the template put it, so the framework
    // centres the window once this returns.
    MoveWindow(0, 0, kWindowWidth, kWindowHeight, TRUE);

    RECT client;
    GetClientRect(&client);
    RECT pageRect = {0, 0, client.right - 2, client.bottom - 50};
    m_wndPage.Create(this, pageRect);

    // The window has a fixed size in pixels, but template places scale with
    // the dialog font: with base units above 6 x 12 (large fonts, other
    // system fonts) the buttons would lie below the window's edge. They go to
    // the same pixel places as the installer's.
    const int R = client.right, B = client.bottom;
    ::MoveWindow(GetDlgItem(IDC_BACK), R - 277, B - 33, 78, 23, TRUE);
    ::MoveWindow(GetDlgItem(IDC_NEXT), R - 187, B - 33, 78, 23, TRUE);
    ::MoveWindow(GetDlgItem(IDC_CANCEL_FINISH), R - 97, B - 33, 78, 23, TRUE);

    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    return TRUE;
}

void CUninstallDlg::AddAboutMenuItem()
{
    HMENU menu = GetSystemMenu(FALSE);
    char text[128];
    if (!menu || ::LoadStringA(::GetModuleHandleA(nullptr), IDS_ABOUTBOX, text, sizeof text) <= 0)
        return;
    ::AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu, MF_STRING, IDM_ABOUTBOX, text);
}

bool CUninstallDlg::OnSysCommand(UINT nID, LPARAM)
{
    if ((nID & 0xFFF0) != IDM_ABOUTBOX)
        return false;
    CAboutDlg about(this);
    about.DoModal();
    return true;
}

void CUninstallDlg::OnPaint()
{
    CPaintDC dc(this);
    RECT client;
    GetClientRect(&client);
    const int W = client.right, H = client.bottom;
    CPen shadow(PS_SOLID, 1, RGB(172, 168, 153));
    CPen light(PS_SOLID, 1, RGB(255, 255, 255));
    HGDIOBJ previous = dc.SelectObject(shadow);
    dc.MoveTo(1, H - 50);
    dc.LineTo(W - 1, H - 50);
    dc.SelectObject(light);
    dc.MoveTo(1, H - 49);
    dc.LineTo(W - 1, H - 49);
    dc.SelectObject(previous);
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
    Show(IDC_BROWSE, false);
    m_progress.ShowWindow(SW_SHOW);
    m_progress.UpdateWindow();
    Enable(IDC_CANCEL_FINISH, false);
    Enable(IDC_BACK, false);
    Enable(IDC_NEXT, false);
    m_wndPage.UpdateWindow();
    ::InterlockedExchange(&m_nWorkerBusy, 1);
    if (!AfxBeginThread(UninstallThread, this)) {
        WorkerDone();
        Enable(IDC_CANCEL_FINISH, true);
    }
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

void CUninstallDlg::OnBack()
{
    Show(IDC_BROWSE, false);
    Show(IDC_BACK, false);
    m_wndPage.m_nPage = 0;
    m_wndPage.InvalidateRect(nullptr, TRUE);
}

// The shared wizard layout has a Browse button; this program never shows it.
void CUninstallDlg::OnBrowse() {}

bool CUninstallDlg::IsRestartTicked() const
{
    return GetDlgItem(IDC_RESTART).SendMessage(BM_GETCHECK) != BST_UNCHECKED;
}

// Enter, Esc and the caption's close command end the dialog as usual, but
// not while the worker still uses the dialog's windows. Enter ends it
// without the restart test.
void CUninstallDlg::OnOK()
{
    if (!m_nWorkerBusy)
        CDialog::OnOK();
}

// Cancel, Finish, Esc and the caption's close command.
void CUninstallDlg::OnCancel()
{
    if (m_nWorkerBusy)
        return;
    if (IsRestartTicked())
        RestartWindows();
    CDialog::OnCancel();
}
