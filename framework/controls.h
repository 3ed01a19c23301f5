// Wrappers of the standard controls the wizards use.
#pragma once

#include "framework/window.h"

#include <commctrl.h>

class CEdit : public CWnd {
public:
    // Creates an edit control as a child (WS_CHILD is added) and routes its
    // messages through this object's message map.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
};

class CProgressCtrl : public CWnd {
public:
    void SetRange(short nLower, short nUpper) { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
    int SetPos(int nPos) { return static_cast<int>(SendMessage(PBM_SETPOS, nPos)); }
};
