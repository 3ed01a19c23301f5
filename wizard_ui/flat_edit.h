// The installer's folder box: a bordered container (CFlatEdit) that paints a
// thin blue-grey border around an edit control (CMyEdit) without 3-D edges.
#pragma once

#include "framework/afx.h"

class CMyEdit : public CEdit {
protected:
    BEGIN_MESSAGE_MAP()
        ON_WM_ERASEBKGND()
    END_MESSAGE_MAP()

    // The edit paints its own background; erasing it separately would flicker.
    BOOL OnEraseBkgnd(HDC) { return TRUE; }
};

class CFlatEdit : public CWnd {
public:
    void Create(const RECT& rect, CWnd* pParentWnd);
    void SetText(const char* text);
    CString GetText() const { return m_edit.GetWindowText(); }

protected:
    BEGIN_MESSAGE_MAP()
        ON_WM_PAINT()
    END_MESSAGE_MAP()

    void OnPaint();

private:
    CFont m_font;
    CMyEdit m_edit;
};
