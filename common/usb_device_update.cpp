#include "common/usb_device_update.h"

#include <newdev.h>

#include "common/path_text.h"

namespace {

typedef BOOL(WINAPI* UpdateProc)(HWND, LPCSTR, LPCSTR, DWORD, PBOOL);

}  // namespace

namespace {

// From the system folder only: newdev.dll is no KnownDLL, and a static
// import would be found beside the program first. Windows 7 without
// KB2533623 refuses LOAD_LIBRARY_SEARCH_SYSTEM32 (ERROR_INVALID_PARAMETER):
// there the DLL is named by its full path in the system folder.
HMODULE LoadNewdev()
{
    HMODULE newdev = ::LoadLibraryExA("newdev.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (newdev || ::GetLastError() != ERROR_INVALID_PARAMETER)
        return newdev;
    char system[kPathBufferSize], path[kPathBufferSize];
    const UINT n = ::GetSystemDirectoryA(system, sizeof system);
    if (n == 0 || n >= sizeof system || !ComposePath(path, sizeof path, "%s\\newdev.dll", system))
        return nullptr;
    return ::LoadLibraryA(path);
}

}  // namespace

DWORD UpdateUsbDeviceDriver(const char* infPath)
{
    HMODULE newdev = LoadNewdev();
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
