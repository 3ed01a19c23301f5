#include "common/usb_device_update.h"

#include <newdev.h>

namespace {

typedef BOOL(WINAPI* UpdateProc)(HWND, LPCSTR, LPCSTR, DWORD, PBOOL);

}  // namespace

DWORD UpdateUsbDeviceDriver(const char* infPath)
{
    // Looked up in the system folder only: newdev.dll is no KnownDLL, and a
    // static import would be found beside the program first, where the
    // helper lies in a folder we do not guard.
    HMODULE newdev = ::LoadLibraryExA("newdev.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!newdev)
        return ::GetLastError() ? ::GetLastError() : ERROR_MOD_NOT_FOUND;
    DWORD result = ERROR_PROC_NOT_FOUND;
    UpdateProc update = reinterpret_cast<UpdateProc>(
        reinterpret_cast<void (*)()>(::GetProcAddress(newdev, "UpdateDriverForPlugAndPlayDevicesA")));
    if (update) {
        // The restart answer is not looked at: the installer never asks for one.
        BOOL restart = FALSE;
        if (update(nullptr, VARNEK_USB_HARDWARE_ID, infPath, INSTALLFLAG_FORCE, &restart))
            result = 0;
        else
            result = ::GetLastError() ? ::GetLastError() : ERROR_GEN_FAILURE;
    }
    ::FreeLibrary(newdev);
    return result;
}
