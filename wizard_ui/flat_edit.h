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
    // The folder as a path in the ANSI code page, or as chosen in UTF-16.
    void SetFolder(const char* folder);
    void SetFolder(const wchar_t* folder);
    // False when the typed folder has a character the ANSI code page lacks.
    bool GetFolder(CString& folder) const { return m_edit.GetWindowPath(folder); }

protected:
    BEGIN_MESSAGE_MAP()
        ON_WM_PAINT()
    END_MESSAGE_MAP()

    void OnPaint();

private:
    CFont m_font;
    CMyEdit m_edit;
};
