// CWizardDlg: what both wizard dialogs share: the page window over the
// dialog, the progress bar, the program icon, the fixed 503 x 365 window with
// its buttons in pixel places, the etched separator above them, and holding
// off the dialog's end while a worker thread uses its windows.
#pragma once

#include "framework/afx.h"
#include "wizard_ui/wizard_ids.h"
#include "wizard_ui/wizard_wnd.h"

class CWizardDlg : public CDialog {
public:
    CWizardDlg(UINT nIDTemplate, const WizardPages& pages);

    // Called by the worker when it no longer needs the dialog's windows.
    void WorkerDone() { ::InterlockedExchange(&m_nWorkerBusy, 0); }

    CWizardWnd m_wndPage;
    CProgressCtrl m_progress;

protected:
    BEGIN_MESSAGE_MAP()
        ON_WM_PAINT()
        ON_WM_QUERYDRAGICON()
    END_MESSAGE_MAP()

    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Enter, Esc and the caption's close command end the dialog as usual,
    // but not while the worker still uses the dialog's windows.
    void OnOK() override;
    void OnCancel() override;

    void OnPaint();
    HICON OnQueryDragIcon() { return m_hIcon; }

    // Enters the page on which the worker runs: Browse hidden, the progress
    // bar shown, Cancel, Back and Next disabled, the page window updated;
    // then starts the worker with the dialog as its parameter. The dialog
    // cannot end until the worker calls WorkerDone. If no thread starts,
    // Cancel is enabled so that the user can still leave.
    void EnterWorkingPage(AFX_THREADPROC pfnWorker);
    bool IsWorkerBusy() const { return m_nWorkerBusy != 0; }
    void Show(int nID, bool bShow) { GetDlgItem(nID).ShowWindow(bShow ? SW_SHOW : SW_HIDE); }
    void Enable(int nID, bool bEnable) { GetDlgItem(nID).EnableWindow(bEnable); }

    HICON m_hIcon;

private:
    volatile LONG m_nWorkerBusy = 0;
};
