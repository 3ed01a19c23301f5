// pagehost: shows one program's page window, for the pixel tests and the
// screenshots, while a program's own wizard cannot reach a page (or a page
// index outside its pages).
//
//   pagehost installer|uninstaller PAGE [PAGE...] [--status TEXT]
//
// The window is sized as the wizards size theirs (503 x 365, the page window
// 2 pixels narrower and 50 pixels lower than the client area). The first page
// is painted on the erased window; every further page is painted over it as
// the controllers switch pages (invalidate without erasing, update at once;
// the installer's folder box shown on page 1 only). Once the last page is
// painted the caption becomes "Page host".
#include <stdlib.h>
#include <wchar.h>

#include "framework/afx.h"
#include "installer/program/install_pages.h"
#include "tests/wine/pagehost/resource.h"
#include "uninstaller/program/uninstall_pages.h"
#include "wizard_ui/wizard_wnd.h"

namespace {

const UINT_PTR kSwitchTimer = 1;
const int kMaxPages = 8;

struct HostOptions {
    bool installer = true;
    int pages[kMaxPages] = {};
    int pageCount = 0;
    bool hasStatus = false;
    char status[512] = "";
};

class CPageHostDlg : public CDialog {
public:
    explicit CPageHostDlg(const HostOptions& options)
        : CDialog(IDD_PAGEHOST), m_options(options),
          m_wndPage(options.installer ? g_installPages : g_uninstallPages)
    {
    }

protected:
    BEGIN_MESSAGE_MAP()
        if (uMsg == WM_TIMER && wParam == kSwitchTimer) {
            OnSwitchTimer();
            lResult = 0;
            return true;
        }
    END_MESSAGE_MAP()

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        MoveWindow(0, 0, 503, 365, TRUE);
        RECT client;
        GetClientRect(&client);
        RECT pageRect = {0, 0, client.right - 2, client.bottom - 50};
        m_wndPage.m_nPage = m_options.pages[0];
        if (m_options.hasStatus)
            m_wndPage.SetStatus(m_options.status);
        m_wndPage.Create(this, pageRect);
        if (m_options.installer) {
            RECT folderRect = {38, 182, 362, 204};
            m_wndPage.m_editFolder.Create(folderRect, &m_wndPage);
            m_wndPage.m_editFolder.SetFolder("C:\\Program Files\\VarnekPrinter");
            m_wndPage.m_editFolder.ShowWindow(m_options.pages[0] == 1 ? SW_SHOW : SW_HIDE);
        }
        // Switching waits until the first page has been shown and painted.
        ::SetTimer(m_hWnd, kSwitchTimer, 300, nullptr);
        return TRUE;
    }

    void OnSwitchTimer()
    {
        ::KillTimer(m_hWnd, kSwitchTimer);
        m_wndPage.UpdateWindow();
        for (int i = 1; i < m_options.pageCount; ++i) {
            m_wndPage.m_nPage = m_options.pages[i];
            if (m_options.installer)
                m_wndPage.m_editFolder.ShowWindow(m_options.pages[i] == 1 ? SW_SHOW : SW_HIDE);
            m_wndPage.InvalidateRect(nullptr, FALSE);
            m_wndPage.UpdateWindow();
        }
        SetWindowText("Page host");
    }

private:
    const HostOptions& m_options;
    CWizardWnd m_wndPage;
};

bool ParseOptions(HostOptions& options)
{
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc < 3)
        return false;
    bool ok = true;
    if (wcscmp(argv[1], L"installer") == 0)
        options.installer = true;
    else if (wcscmp(argv[1], L"uninstaller") == 0)
        options.installer = false;
    else
        ok = false;
    for (int i = 2; ok && i < argc; ++i) {
        if (wcscmp(argv[i], L"--status") == 0 && i + 1 < argc) {
            ++i;
            // A status text of the program's: code page 936, as its literals.
            options.hasStatus = ::WideCharToMultiByte(kTextCodePage, 0, argv[i], -1, options.status,
                                                      sizeof options.status, nullptr, nullptr) > 0;
            ok = options.hasStatus;
        } else if (options.pageCount < kMaxPages) {
            options.pages[options.pageCount++] = _wtoi(argv[i]);
        } else {
            ok = false;
        }
    }
    ::LocalFree(argv);
    return ok && options.pageCount > 0;
}

class CPageHostApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        HostOptions options;
        if (!ParseOptions(options))
            return FALSE;
        CPageHostDlg dlg(options);
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

CPageHostApp theApp;

}  // namespace
