// Stand-in for UNIDRVUI.dll, the configuration module of the universal
// printer driver. The spooler loads it when the driver is added and a queue
// is created, and calls these two event handlers; the stand-in accepts the
// events and offers no property pages. The vendor's module replaces it.
#include <windows.h>

extern "C" BOOL WINAPI DrvDriverEvent(DWORD, DWORD, LPBYTE, LPARAM)
{
    return TRUE;
}

extern "C" BOOL WINAPI DrvPrinterEvent(LPWSTR, INT, DWORD, LPARAM)
{
    return TRUE;
}
