// Stand-in for UNIDRVUI.dll, the configuration module of the universal
// printer driver. The spooler loads it when the driver is added and a queue
// is created: the stand-in accepts the driver and printer events, gives a
// plain default device mode and offers no property pages. The vendor's
// module replaces it.
#include <windows.h>

#include <string.h>
#include <wchar.h>

namespace {

// winddiui.h's header of a document-properties request (missing from
// mingw-w64's headers).
struct DocumentPropertyHeader {
    WORD cbSize;
    WORD Reserved;
    HANDLE hPrinter;
    LPWSTR pszPrinterName;
    PDEVMODEW pdmIn;
    PDEVMODEW pdmOut;
    DWORD cbOut;
    DWORD fMode;
};

}  // namespace

extern "C" BOOL WINAPI DrvDriverEvent(DWORD, DWORD, LPBYTE, LPARAM)
{
    return TRUE;
}

extern "C" BOOL WINAPI DrvPrinterEvent(LPWSTR, INT, DWORD, LPARAM)
{
    return TRUE;
}

// Creating a queue asks for its default device mode through here (Wine
// calls it without checking that it is exported): the size when no output
// buffer is given, else a plain DEVMODEW naming the printer. No pages.
extern "C" LONG WINAPI DrvDocumentPropertySheets(PVOID pPSUIInfo, LPARAM lParam)
{
    DocumentPropertyHeader* header = reinterpret_cast<DocumentPropertyHeader*>(lParam);
    if (pPSUIInfo || !header)
        return -1;
    if (!header->fMode || !header->pdmOut) {
        header->cbOut = sizeof(DEVMODEW);
        return header->cbOut;
    }
    if (header->cbOut < sizeof(DEVMODEW))
        return -1;
    DEVMODEW* mode = header->pdmOut;
    memset(mode, 0, sizeof *mode);
    if (header->pszPrinterName)
        wcsncpy(mode->dmDeviceName, header->pszPrinterName, CCHDEVICENAME - 1);
    mode->dmSpecVersion = DM_SPECVERSION;
    mode->dmSize = sizeof *mode;
    return IDOK;
}

// No capability is reported (Wine also calls this one unchecked).
extern "C" DWORD WINAPI DrvDeviceCapabilities(HANDLE, PWSTR, WORD, PVOID, PDEVMODEW)
{
    return GDI_ERROR;
}
