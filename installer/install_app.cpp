// CInstallApp: the installer program.
#include "framework/afx.h"
#include "installer/install_dlg.h"

class CInstallApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        CInstallDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

static CInstallApp theApp;
