// How the USB device-driver package is installed, apart from the Windows
// calls themselves: the decision is checked natively, since Wine's forced
// update succeeds without any device and never takes the fallback.
#pragma once

// SPOST_PATH: the INF path names the package's source folder.
constexpr unsigned kStoreMediaType = 1;
// SP_COPY_NEWER_OR_SAME: keep a newer package already in the store.
constexpr unsigned kStoreCopyStyle = 4;

// update(inf) -> true when the attached printer got the driver (forced);
// copyToStore(inf, mediaType, copyStyle) -> 0 or an error code.
// Returns 0 when the attached device got the driver or the package was
// placed in the driver store, else the store copy's error code.
template <class Update, class CopyToStore>
unsigned long InstallDriverPackage(const char* inf, Update update, CopyToStore copyToStore)
{
    // Fails on Windows when no printer is attached (ERROR_NO_SUCH_DEVINST):
    // the package then waits in the driver store for the printer.
    if (update(inf))
        return 0;
    return copyToStore(inf, kStoreMediaType, kStoreCopyStyle);
}
