// Stand-in for UNIDRV.dll, the rendering module of the universal printer
// driver. It identifies itself as a user-mode driver and declines to
// render, so a device context for the printer cannot be created. The
// vendor's module replaces it.
#include <windows.h>

namespace {

// DrvQueryDriverInfo's one query: is this a user-mode driver?
const DWORD kQueryUserMode = 1;

}  // namespace

extern "C" BOOL WINAPI DrvQueryDriverInfo(DWORD dwMode, PVOID pBuffer, DWORD cbBuf, PDWORD pcbNeeded)
{
    if (dwMode != kQueryUserMode) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *pcbNeeded = sizeof(DWORD);
    if (!pBuffer || cbBuf < sizeof(DWORD)) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    *static_cast<DWORD*>(pBuffer) = TRUE;
    return TRUE;
}

extern "C" BOOL WINAPI DrvEnableDriver(ULONG, ULONG, PVOID)
{
    ::SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}
