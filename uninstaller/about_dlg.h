// The about box of the system menu: program title and package version.
#pragma once

#include "framework/afx.h"

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* pParentWnd);

protected:
    BOOL OnInitDialog() override;
};
