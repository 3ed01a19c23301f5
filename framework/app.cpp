#include "framework/app.h"

#include <commctrl.h>

#include "common/system_dlls.h"

static CWinApp* g_pApp;

CWinApp::CWinApp()
{
    g_pApp = this;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RestrictDllSearchToSystemFolder();
    // The progress bar class of version 6 of the common controls is
    // registered only through this call.
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_PROGRESS_CLASS | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    if (!g_pApp)
        return 0;
    g_pApp->InitInstance();
    return g_pApp->ExitInstance();
}
