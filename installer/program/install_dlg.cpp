#include "installer/program/install_dlg.h"

#include <shlobj.h>

#include "common/chinese_text.h"
#include "common/path_text.h"
#include "common/step_log.h"
#include "installer/steps/folder_preparation.h"
#include "installer/program/install_pages.h"
#include "installer/steps/install_results.h"
#include "installer/steps/installation.h"
#include "installer/steps/printer_system.h"
#include "installer/program/resource.h"

static_assert(sizeof(char16_t) == sizeof(wchar_t), "UTF-16 texts are Windows wide strings");

namespace {

const wchar_t kCaption[] = L"安裝Varnek打印机驱动";

// The installing page: status line and progress bar; the port's "ERROR" box
// through the dialog's thread, after which the run goes on.
class WizardProgress : public InstallProgress {
public:
    WizardProgress(CInstallDlg* dlg, HWND hDlg) : m_dlg(dlg), m_hDlg(hDlg) {}

    void ShowStatus(const char* text) override { m_dlg->ShowStatus(text); }
    void ShowPath(const char* path) override { m_dlg->ShowPath(path); }
    void SetProgress(int position) override { m_dlg->m_progress.SetPos(position); }
    void ReportPortError(unsigned long code) override
    {
        ::SendMessageW(m_hDlg, CInstallDlg::kPortFailed, code, 0);
    }

private:
    CInstallDlg* m_dlg;
    HWND m_hDlg;
};

// The installation worker, started on the installing page with the dialog as
// its parameter.
UINT InstallThread(LPVOID pParam)
{
    static_cast<CInstallDlg*>(static_cast<CWizardDlg*>(pParam))->RunWorker();
    return 0;
}

}  // namespace

CInstallDlg::CInstallDlg() : CWizardDlg(IDD_INSTALL, g_installPages), m_installation() {}

BOOL CInstallDlg::OnInitDialog()
{
    CWizardDlg::OnInitDialog();
    CreateFolderBox();
    RECT client;
    GetClientRect(&client);
    ::MoveWindow(GetDlgItem(IDC_BROWSE), client.right - 130, client.bottom - 151, 68, 23, TRUE);
    return TRUE;
}

void CInstallDlg::CreateFolderBox()
{
    if (!m_wndPage.m_hWnd)
        return;
    RECT folderRect = {38, 182, 362, 204};
    m_wndPage.m_editFolder.Create(folderRect, &m_wndPage);
    char folder[kPathBufferSize];
    DefaultInstallFolder(folder, sizeof folder);
    m_wndPage.m_editFolder.SetFolder(folder);
}

bool CInstallDlg::ValidateFolderPage()
{
    // A folder the ANSI code page cannot hold is no valid folder: the
    // vendor's service and monitor read it through ANSI functions.
    CString typed;
    m_installation = {};
    InstallOutcome outcome = m_wndPage.m_editFolder.GetFolder(typed) ? PrepareInstallation(typed, m_installation)
                                                                     : InstallOutcome::kFolderInvalid;
    LogResult("folder", outcome == InstallOutcome::kInstalled ? m_installation.folder : static_cast<const char*>(typed),
              static_cast<unsigned long>(outcome));
    if (outcome != InstallOutcome::kInstalled) {
        ShowMessage(InstallOutcomeMessage(outcome));
        return false;
    }
    return true;
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
        EnterWorkingPage(InstallThread);
        break;
    case 3:
        m_wndPage.InvalidateRect(nullptr, FALSE);
        Show(IDC_NEXT, false);
        Show(IDC_BACK, false);
        ::SetWindowTextW(GetDlgItem(IDC_CANCEL_FINISH), L"完成");
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
    wchar_t displayName[MAX_PATH];
    BROWSEINFOW bi = {};
    bi.hwndOwner = m_hWnd;
    bi.pszDisplayName = displayName;
    bi.lpszTitle = L"Selection ";
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    LPITEMIDLIST pidl = ::SHBrowseForFolderW(&bi);
    if (!pidl)
        return;
    wchar_t path[MAX_PATH];
    if (::SHGetPathFromIDListW(pidl, path))
        m_wndPage.m_editFolder.SetFolder(path);
    ::CoTaskMemFree(pidl);
}

void CInstallDlg::ShowStatus(const char* text)
{
    m_wndPage.SetStatus(text);
    RepaintStatus();
}

void CInstallDlg::ShowPath(const char* path)
{
    m_wndPage.SetStatusPath(path);
    RepaintStatus();
}

void CInstallDlg::RepaintStatus()
{
    m_wndPage.InvalidateRect(nullptr, FALSE);
    m_wndPage.UpdateWindow();
}

void CInstallDlg::ShowMessage(const char* text)
{
    ::MessageBoxW(m_hWnd, WideText(text), kCaption, MB_OK);
}

void CInstallDlg::ShowMessage(const char16_t* text)
{
    ::MessageBoxW(m_hWnd, reinterpret_cast<const wchar_t*>(text), kCaption, MB_OK);
}

void CInstallDlg::RunWorker()
{
    // Saved before the run: the outcome goes to the window, never to this
    // object, which may end once the dialog has it.
    const HWND hDlg = m_hWnd;
    WizardProgress progress(this, hDlg);
    const InstallOutcome outcome = RunInstallation(m_installation, progress, m_results);
    LogStep("end", m_installation.folder, "wizard", static_cast<unsigned long>(outcome));
    ::PostMessageW(hDlg, kInstallEnded, static_cast<WPARAM>(outcome), 0);
}

LRESULT CInstallDlg::OnPortFailed(WPARAM code, LPARAM)
{
    // Unowned, as when the worker showed it; the worker waits in SendMessage
    // until it is answered, so the run goes on only then.
    ::MessageBoxW(nullptr, PortErrorText(static_cast<unsigned long>(code)), L"ERROR", MB_OK | MB_ICONINFORMATION);
    return 0;
}

LRESULT CInstallDlg::OnInstallEnded(WPARAM outcome, LPARAM)
{
    const InstallOutcome ended = static_cast<InstallOutcome>(outcome);
    if (ended == InstallOutcome::kInstalled || ended == InstallOutcome::kRestartNeeded) {
        // The finished page shows the status line.
        ShowStatus(ended == InstallOutcome::kRestartNeeded ? "请重新启动计算机以完成安装。" : "");
        WorkerDone();
        OnNext();
        return 0;
    }
    // A failure never reaches the finished page: only Cancel is left to end
    // the wizard, after one message naming what failed.
    ShowStatus("安装未完成");
    // Done before the box, so that Cancel works the moment the box closes.
    WorkerDone();
    Enable(IDC_CANCEL_FINISH, true);
    if (const char* message = InstallOutcomeMessage(ended)) {
        ShowMessage(message);
        return 0;
    }
    // The log path is an ANSI path: converted with the ANSI code page, not
    // with the texts' 936.
    const WideText logPath(StepLogPath(), -1, CP_ACP);
    char16_t failures[1024];
    ShowMessage(ComposeFailureMessage(failures, sizeof failures / sizeof failures[0], m_results,
                                      reinterpret_cast<const char16_t*>(static_cast<const wchar_t*>(logPath)))
                    ? failures
                    : u"安装未完成");
    return 0;
}
