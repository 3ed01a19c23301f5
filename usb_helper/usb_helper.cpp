// VarnekUsb64: makes the forced USB driver update for the 32-bit installer
// on 64-bit Windows, where only a 64-bit process may install a device
// driver. Started by the installer as
//     VarnekUsb64.exe "<folder>\Nelvusb.inf"
// Exit code: 0 when the attached printer got the driver, else the Windows
// error code of the update (ERROR_INVALID_PARAMETER for a bad command line).
// No window of its own: any window of the device installation has no owner.
#include <windows.h>

#include "common/path_text.h"
#include "common/system_dlls.h"
#include "common/usb_device_update.h"
#include "common/usb_helper_command.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int)
{
    // Started elevated from the installation folder: like the installer, it
    // loads no DLL but the system's.
    RestrictDllSearchToSystemFolder();
    char inf[kPathBufferSize];
    if (!InfPathOfHelperArguments(inf, sizeof inf, arguments))
        return ERROR_INVALID_PARAMETER;
    return static_cast<int>(UpdateUsbDeviceDriver(inf));
}
