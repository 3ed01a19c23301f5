#include "installer/install_dlg.h"

#include <shlobj.h>

#include "common/ensure_folder.h"
#include "common/install_folder.h"
#include "installer/data_folder.h"
#include "installer/install_pages.h"
#include "installer/install_thread.h"
#include "installer/resource.h"

namespace {

const char kCaption[] = "安裝Varnek打印机驱动";
const int kWindowWidth = 503;
const int kWindowHeight = 365;

}  // namespace

CInstallDlg::CInstallDlg() : CDialog(IDD_INSTALL), m_wndPage(g_installPages)
{
    m_hIcon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
}

void CInstallDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Control(pDX, IDC_PROGRESS, m_progress);
}

BOOL CInstallDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    // The top-left corner stays where the template put it, so the framework
    // centres the window once this returns.
    MoveWindow(0, 0, kWindowWidth, kWindowHeight, TRUE);
    CreateWizardWindow();

    RECT client;
    GetClientRect(&client);
    const int R = client.right, B = client.bottom;
    ::MoveWindow(GetDlgItem(IDC_BACK), R - 277, B - 33, 78, 23, TRUE);
    ::MoveWindow(GetDlgItem(IDC_NEXT), R - 187, B - 33, 78, 23, TRUE);
    ::MoveWindow(GetDlgItem(IDC_CANCEL_FINISH), R - 97, B - 33, 78, 23, TRUE);
    ::MoveWindow(GetDlgItem(IDC_BROWSE), R - 130, B - 151, 68, 23, TRUE);

    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    return TRUE;
}

bool CInstallDlg::CreateWizardWindow()
{
    RECT client;
    GetClientRect(&client);
    RECT pageRect = {0, 0, client.right - 2, client.bottom - 50};
    if (!m_wndPage.Create(this, pageRect))
        return false;

    RECT folderRect = {38, 182, 362, 204};
    m_wndPage.m_editFolder.Create(folderRect, &m_wndPage);
    char folder[kPathBufferSize];
    DWORD n = ::ExpandEnvironmentStringsA("%ProgramFiles%\\VarnekPrinter", folder, sizeof folder);
    // A default that does not fit is left empty rather than cut short.
    m_wndPage.m_editFolder.SetText(n > 0 && n <= sizeof folder ? folder : "");
    return true;
}

void CInstallDlg::OnPaint()
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

bool CInstallDlg::ValidateFolderPage()
{
    CString folder = GetInstallFolder();
    const char* message = nullptr;
    if (folder.IsEmpty())
        message = "安装文件夹不能为空";
    // Removal empties the whole folder tree: system and shared folders are
    // refused before anything is created.
    else if (!IsUsableInstallFolder(folder) || !EnsureFolderPath(folder) || !SettleDataFolder(folder))
        message = "安装文件夹不是有效文件夹";
    if (message)
        ::MessageBoxA(m_hWnd, message, kCaption, MB_OK);
    return message == nullptr;
}

void CInstallDlg::OnNext()
{
    const int P = m_wndPage.m_nPage;
    if (P == 1 && !ValidateFolderPage())
        return;

    m_wndPage.m_nPage = P + 1;
    switch (m_wndPage.m_nPage) {
    case 1:
        m_wndPage.ShowFolderControls(TRUE);
        Show(IDC_BROWSE, true);
        Show(IDC_BACK, true);
        break;
    case 2:
        m_wndPage.ShowFolderControls(FALSE);
        Show(IDC_BROWSE, false);
        m_progress.ShowWindow(SW_SHOW);
        m_progress.UpdateWindow();
        Enable(IDC_CANCEL_FINISH, false);
        Enable(IDC_BACK, false);
        Enable(IDC_NEXT, false);
        m_wndPage.UpdateWindow();
        ::InterlockedExchange(&m_nWorkerBusy, 1);
        if (!AfxBeginThread(InstallThread, this)) {
            WorkerDone();
            Enable(IDC_CANCEL_FINISH, true);
        }
        break;
    case 3:
        m_wndPage.InvalidateRect(nullptr, FALSE);
        Show(IDC_NEXT, false);
        Show(IDC_BACK, false);
        GetDlgItem(IDC_CANCEL_FINISH).SetWindowText("完成");
        m_progress.ShowWindow(SW_HIDE);
        Enable(IDC_CANCEL_FINISH, true);
        break;
    case 4:
        OnCancel();
        break;
    }
}

void CInstallDlg::OnBack()
{
    // Hiding the folder box marks the page window for erasing, which the
    // welcome page's white background needs.
    m_wndPage.m_editFolder.ShowWindow(SW_HIDE);
    Show(IDC_BROWSE, false);
    Show(IDC_BACK, false);
    m_wndPage.m_nPage = 0;
    m_wndPage.InvalidateRect(nullptr, FALSE);
}

void CInstallDlg::OnBrowse()
{
    char displayName[512];
    BROWSEINFOA bi = {};
    bi.hwndOwner = m_hWnd;
    bi.pszDisplayName = displayName;
    bi.lpszTitle = "Selection ";
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST pidl = ::SHBrowseForFolderA(&bi);
    if (!pidl)
        return;
    char path[512];
    if (::SHGetPathFromIDListA(pidl, path))
        m_wndPage.m_editFolder.SetText(path);
    ::CoTaskMemFree(pidl);
}

void CInstallDlg::ShowStatus(const char* text)
{
    m_wndPage.SetStatus(text);
    m_wndPage.InvalidateRect(nullptr, FALSE);
    m_wndPage.UpdateWindow();
}

void CInstallDlg::ShowMessage(const char* text)
{
    ::MessageBoxA(m_hWnd, text, kCaption, MB_OK);
}

// Enter, Esc and the caption's close command end the dialog as usual, but
// not while the worker still uses the dialog's windows.
void CInstallDlg::OnOK()
{
    if (!m_nWorkerBusy)
        CDialog::OnOK();
}

void CInstallDlg::OnCancel()
{
    if (!m_nWorkerBusy)
        CDialog::OnCancel();
}
