#include "installer/usb_driver.h"

#include <newdev.h>
#include <setupapi.h>

#include "installer/usb_driver_plan.h"

static_assert(kUpdateFlags == INSTALLFLAG_FORCE, "forced update");
static_assert(kStoreMediaType == SPOST_PATH, "source media is a path");
static_assert(kStoreCopyStyle == SP_COPY_NEWER_OR_SAME, "copy only a newer or the same package");

DWORD InstallUsbDeviceDriver(const char* infPath)
{
    return InstallDriverPackage(
        infPath,
        [](const char* hardwareId, const char* inf, unsigned flags) {
            // The restart answer is not looked at: the installer never asks for one.
            BOOL restart = FALSE;
            return ::UpdateDriverForPlugAndPlayDevicesA(nullptr, hardwareId, inf, flags, &restart) != FALSE;
        },
        [](const char* inf, unsigned mediaType, unsigned copyStyle) -> unsigned long {
            // No destination buffer: the store's name for the package is not needed.
            if (::SetupCopyOEMInfA(inf, nullptr, mediaType, copyStyle, nullptr, 0, nullptr, nullptr))
                return 0;
            return ::GetLastError();
        });
}
