#include "framework/thread.h"

#include <process.h>

namespace {

struct ThreadStart {
    AFX_THREADPROC pfnThreadProc;
    LPVOID pParam;
};

unsigned __stdcall ThreadEntry(void* start)
{
    ThreadStart copy = *static_cast<ThreadStart*>(start);
    ::HeapFree(::GetProcessHeap(), 0, start);
    return copy.pfnThreadProc(copy.pParam);
}

}  // namespace

bool AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
{
    ThreadStart* start = static_cast<ThreadStart*>(::HeapAlloc(::GetProcessHeap(), 0, sizeof(ThreadStart)));
    if (!start)
        return false;
    start->pfnThreadProc = pfnThreadProc;
    start->pParam = pParam;
    // _beginthreadex rather than CreateThread: the worker uses the C runtime.
    uintptr_t thread = _beginthreadex(nullptr, 0, &ThreadEntry, start, 0, nullptr);
    if (!thread) {
        ::HeapFree(::GetProcessHeap(), 0, start);
        return false;
    }
    ::CloseHandle(reinterpret_cast<HANDLE>(thread));
    return true;
}
