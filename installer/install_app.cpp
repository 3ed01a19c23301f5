// CInstallApp: the installer program.
#include "framework/afx.h"
#include "installer/extract_package.h"
#include "installer/install_dlg.h"

class CInstallApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        OwnFileHold ownFile;
        CInstallDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
        m_pMainWnd = nullptr;
        return FALSE;
    }
};

static CInstallApp theApp;
