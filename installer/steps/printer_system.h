// The printing stack: driver files and monitor library moved into place, the
// USB device driver, the port monitor and its port, the printer driver, the
// queue with its printer data, and the label forms. The USB driver's plan is
// portable (checked natively); the rest calls the spooler, setup API and
// processes.
#pragma once

#include "installer/steps/install_results.h"
#include "installer/steps/installation.h"

// Installs the printing stack for the installation: the driver files
// and the monitor library moved into place, the USB device driver, the
// monitor, its port, the driver, the queue "VarnekPrinter" with its printer
// data, and the label forms. An existing queue ends the step before the
// printer data and the forms, on every Windows. Each part returns its outcome,
// recorded in results, and logs a line; a failed part lets the others run, except that
// the driver is added only when all its files arrived. A port that cannot be
// added is also reported to progress at once.
void InstallPrinterSystem(const Installation& installation, InstallProgress& progress, InstallResults& results);

// Registers "Varnek Monitor" (library "VarnekRt81.dll" in the system
// directory) for the running spooler's environment. 0 when added, else the
// error code (3006 when it is registered already).
unsigned long AddPortMonitor();

// The text of the wizard's "ERROR" box for a port that could not be added:
// the system's message for the code, or its number where there is none.
class PortErrorText {
public:
    explicit PortErrorText(unsigned long code);
    ~PortErrorText();
    PortErrorText(const PortErrorText&) = delete;
    PortErrorText& operator=(const PortErrorText&) = delete;

    operator const wchar_t*() const { return m_systemText ? m_systemText : m_numbered; }

private:
    wchar_t* m_systemText = nullptr;  // FormatMessage's, freed with the object
    wchar_t m_numbered[128] = L"";
};

// Installs the package of infPath for the attached printer (forced), or,
// when that fails (no printer attached), places the package in the driver
// store. A 32-bit installer on 64-bit Windows has the forced update made by
// the 64-bit helper that lies beside the INF. 0 on success, else the store
// copy's error code. Never requests a restart.
unsigned long InstallUsbDeviceDriver(const char* infPath);

// Starts the helper program at helperPath for infPath and waits for it:
// its exit code (0 when the printer got the driver), or the error that kept
// it from running.
unsigned long RunUsbDriverHelper(const char* helperPath, const char* infPath);

// How the USB device-driver package is installed, apart from the Windows
// calls themselves: the decision is checked natively, since Wine's forced
// update succeeds without any device and never takes the fallback.
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
