// CInstallDlg: the installer's wizard dialog and its page machine.
#pragma once

#include "framework/afx.h"
#include "installer/resource.h"
#include "wizard_ui/wizard_wnd.h"

class CInstallDlg : public CDialog {
public:
    CInstallDlg();

    // The installation folder: the text of the folder box, its only copy.
    CString GetInstallFolder() const { return m_wndPage.m_editFolder.GetText(); }
    // The worker's status line on the installing page, repainted at once.
    void ShowStatus(const char* text);
    // A message box owned by the wizard, with the installer's caption.
    void ShowMessage(const char* text);
    // Called by the worker when it no longer needs the dialog's windows.
    void WorkerDone() { ::InterlockedExchange(&m_nWorkerBusy, 0); }

    CWizardWnd m_wndPage;
    CProgressCtrl m_progress;

protected:
    BEGIN_MESSAGE_MAP()
        ON_WM_PAINT()
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
    HICON OnQueryDragIcon() { return m_hIcon; }
    void OnNext();
    void OnBack();
    void OnBrowse();

private:
    bool CreateWizardWindow();
    bool ValidateFolderPage();
    void Show(int nID, bool bShow) { GetDlgItem(nID).ShowWindow(bShow ? SW_SHOW : SW_HIDE); }
    void Enable(int nID, bool bEnable) { GetDlgItem(nID).EnableWindow(bEnable); }

    HICON m_hIcon;
    // Nonzero while the worker uses the dialog: the dialog must not end then.
    volatile LONG m_nWorkerBusy = 0;
};
