// CWizardWnd: the custom-painted page window that both wizards place over
// their dialog.
#pragma once

#include "framework/afx.h"
#include "wizard_ui/flat_edit.h"
#include "wizard_ui/wizard_page.h"

class CWizardWnd : public CWnd {
public:
    explicit CWizardWnd(const WizardPages& pages);
    ~CWizardWnd() override;

    // Creates the page window as a visible child of the dialog.
    BOOL Create(CWnd* pParentWnd, const RECT& rect);

    // Shows or hides the folder box (when there is one) and repaints at once.
    void ShowFolderControls(BOOL bShow);

    // The status text is written by a worker thread and read by painting on
    // the window's thread, so it is only reached through these two.
    void SetStatus(const char* text);
    CString GetStatus();

    int m_nPage = 0;
    CFlatEdit m_editFolder;  // created only by the installer

protected:
    BEGIN_MESSAGE_MAP()
        ON_WM_PAINT()
    END_MESSAGE_MAP()

    void OnPaint();

private:
    const WizardPages& m_pages;
    CString m_strStatus;
    CRITICAL_SECTION m_statusLock;
};
