// CUninstallApp: the uninstaller program. Its wizard and silent modes are
// added by the removal work; for now the program starts and ends.
#include "framework/afx.h"

class CUninstallApp : public CWinApp {
public:
    BOOL InitInstance() override { return FALSE; }
};

static CUninstallApp theApp;
