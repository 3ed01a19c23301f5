// How the USB device-driver package is installed, apart from the Windows
// calls themselves: the decision is checked natively, since Wine's forced
// update succeeds without any device and never takes the fallback.
#pragma once

// The printer's hardware ID, listed by the package's INF.
constexpr char kUsbHardwareId[] = "USB\\VID_03eb&PID_2024";
// INSTALLFLAG_FORCE: replace the attached printer's driver even where
// Windows ranks another one higher.
constexpr unsigned kUpdateFlags = 1;
// SPOST_PATH: the INF path names the package's source folder.
constexpr unsigned kStoreMediaType = 1;
// SP_COPY_NEWER_OR_SAME: keep a newer package already in the store.
constexpr unsigned kStoreCopyStyle = 4;

// update(hardwareId, inf, flags) -> true on success;
// copyToStore(inf, mediaType, copyStyle) -> 0 or an error code.
// Returns 0 when the attached device got the driver or the package was
// placed in the driver store, else the store copy's error code. Never asks
// for a restart.
template <class Update, class CopyToStore>
unsigned long InstallDriverPackage(const char* inf, Update update, CopyToStore copyToStore)
{
    // Fails on Windows when no printer is attached (ERROR_NO_SUCH_DEVINST):
    // the package then waits in the driver store for the printer.
    if (update(kUsbHardwareId, inf, kUpdateFlags))
        return 0;
    return copyToStore(inf, kStoreMediaType, kStoreCopyStyle);
}
