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

    // The status line is written by a worker thread and read by painting on
    // the window's thread, so it is only reached under its lock. It shows a
    // text of the program (code page 936) or a path (ANSI code page); a text
    // that does not fit leaves the line empty.
    void SetStatus(const char* text) { StoreStatus(text, kTextCodePage); }
    void SetStatusPath(const char* path) { StoreStatus(path, CP_ACP); }

    // Appends the display lines of text, broken at maxWidth pixels as
    // measured with the font selected into pDC.
    static void WrapText(CDC* pDC, const char* text, CStringArray& lines, int maxWidth);
    // A frame with chamfered corners around the rectangle, the caption centred
    // on its top edge; pFont null: Arial 14.
    static void DrawGroupFrame(CDC* pDC, int left, int top, int right, int bottom, CString caption,
                               CFont* pFont);

    int m_nPage = 0;
    CFlatEdit m_editFolder;  // created only by the installer

protected:
    BEGIN_MESSAGE_MAP()
        ON_WM_PAINT()
    END_MESSAGE_MAP()

    void OnPaint();

private:
    struct PaintTools;
    void PaintWelcomePage(CDC& dc, const RECT& client, const WizardPage& page, PaintTools& tools);
    void PaintHeaderPage(CDC& dc, const RECT& client, const WizardPage& page, PaintTools& tools);
    void StoreStatus(const char* text, UINT codePage);
    void PaintStatus(CDC& dc, int x, int y);

    const WizardPages& m_pages;
    wchar_t m_status[kWideTextSize];
    CRITICAL_SECTION m_statusLock;
};
