#include "wizard_ui/wizard_dlg.h"

namespace {

const int kWindowWidth = 503;
const int kWindowHeight = 365;

}  // namespace

CWizardDlg::CWizardDlg(UINT nIDTemplate, const WizardPages& pages) : CDialog(nIDTemplate), m_wndPage(pages)
{
    m_hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

void CWizardDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
}

BOOL CWizardDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    // The top-left corner stays where the template put it, so the framework
    // centres the window once initialisation is over.
    MoveWindow(0, 0, kWindowWidth, kWindowHeight, TRUE);

    RECT client;
    GetClientRect(&client);
    RECT pageRect = {0, 0, client.right - 2, client.bottom - 50};
    m_wndPage.Create(this, pageRect);

    // Template places scale with the dialog font while the window has a
    // fixed size in pixels: with base units above 6 x 12 the buttons would
    // lie below the window's edge, so they get pixel places.
    const int R = client.right, B = client.bottom;
    ::MoveWindow(GetDlgItem(IDC_BACK), R - 277, B - 33, 78, 23, TRUE);
    ::MoveWindow(GetDlgItem(IDC_NEXT), R - 187, B - 33, 78, 23, TRUE);
    ::MoveWindow(GetDlgItem(IDC_CANCEL_FINISH), R - 97, B - 33, 78, 23, TRUE);

    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    return TRUE;
}

void CWizardDlg::OnPaint()
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

void CWizardDlg::EnterWorkingPage(AFX_THREADPROC pfnWorker)
{
    Show(IDC_BROWSE, false);
    m_progress.ShowWindow(SW_SHOW);
    m_progress.UpdateWindow();
    Enable(IDC_CANCEL_FINISH, false);
    Enable(IDC_BACK, false);
    Enable(IDC_NEXT, false);
    m_wndPage.UpdateWindow();
    ::InterlockedExchange(&m_nWorkerBusy, 1);
    if (!AfxBeginThread(pfnWorker, this)) {
        WorkerDone();
        Enable(IDC_CANCEL_FINISH, true);
    }
}

void CWizardDlg::OnOK()
{
    if (!IsWorkerBusy())
        CDialog::OnOK();
}

void CWizardDlg::OnCancel()
{
    if (!IsWorkerBusy())
        CDialog::OnCancel();
}
