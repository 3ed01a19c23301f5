// CUninstallDlg: the uninstaller's wizard dialog and its page machine
// (welcome, removing, finished).
#pragma once

#include "framework/afx.h"
#include "uninstaller/resource.h"
#include "wizard_ui/wizard_wnd.h"

class CUninstallDlg : public CDialog {
public:
    CUninstallDlg();

    // Called by the worker when it no longer needs the dialog's windows.
    void WorkerDone() { ::InterlockedExchange(&m_nWorkerBusy, 0); }

    CWizardWnd m_wndPage;
    CProgressCtrl m_progress;

protected:
    BEGIN_MESSAGE_MAP()
        ON_WM_PAINT()
        ON_WM_SYSCOMMAND()
        ON_WM_QUERYDRAGICON()
        ON_COMMAND(IDC_NEXT, OnNext)
        ON_COMMAND(IDC_BROWSE, OnBrowse)
        ON_COMMAND(IDC_CANCEL_FINISH, OnCancel)
        ON_COMMAND(IDC_BACK, OnBack)
    END_MESSAGE_MAP()

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    void OnPaint();
    bool OnSysCommand(UINT nID, LPARAM lParam);
    HICON OnQueryDragIcon() { return m_hIcon; }
    void OnNext();
    void OnBack();
    void OnBrowse();

private:
    void AddAboutMenuItem();
    void EnterRemovingPage();
    void EnterFinishedPage();
    bool IsRestartTicked() const;
    void Show(int nID, bool bShow) { GetDlgItem(nID).ShowWindow(bShow ? SW_SHOW : SW_HIDE); }
    void Enable(int nID, bool bEnable) { GetDlgItem(nID).EnableWindow(bEnable); }

    HICON m_hIcon;
    // Nonzero while the worker uses the dialog: the dialog must not end then.
    volatile LONG m_nWorkerBusy = 0;
};
