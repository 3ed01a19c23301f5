// Worker threads in the style of the dialog framework.
#pragma once

#include <windows.h>

typedef UINT (*AFX_THREADPROC)(LPVOID pParam);

// Starts pfnThreadProc(pParam) on a new thread at normal priority with the
// default stack size and security. Returns false when the thread could not
// be started. The thread's handle is not kept: nobody waits for it.
bool AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
