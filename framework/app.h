// CWinApp: the application object. The framework's WinMain runs the one
// instance's InitInstance; the program ends when it returns.
#pragma once

#include "framework/window.h"

class CWinApp {
public:
    CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;
    virtual ~CWinApp() = default;

    // The program. Returning FALSE ends it.
    virtual BOOL InitInstance() = 0;
    // The process's exit code, asked for once InitInstance has returned.
    virtual int ExitInstance() { return 0; }

    CWnd* m_pMainWnd = nullptr;
};

CWinApp* AfxGetApp();
