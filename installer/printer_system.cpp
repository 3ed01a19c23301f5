#include "installer/printer_system.h"

#include <windows.h>
#include <winspool.h>

#include "common/driver_package.h"
#include "common/names.h"
#include "common/path_text.h"
#include "common/spooler_env.h"
#include "installer/file_moves.h"
#include "installer/label_forms.h"
#include "installer/port_monitor.h"
#include "installer/usb_driver.h"

namespace {

char* Text(const char* text)
{
    return const_cast<char*>(text);
}

void AddPrinterDriver(const char* environment)
{
    DRIVER_INFO_3A info = {};
    info.cVersion = kDriverVersion;
    info.pName = Text(VARNEK_PRINTER_DRIVER);
    info.pEnvironment = Text(environment);
    info.pDriverPath = Text(kDriverPath);
    info.pDataFile = Text(kDriverDataFile);
    info.pConfigFile = Text(kDriverConfigFile);
    info.pHelpFile = Text(kDriverHelpFile);
    info.pDependentFiles = Text(kDriverDependentFiles);
    ::AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info));
}

// The new queue, or null when it could not be created or exists already.
// Windows refuses an existing queue, Wine overwrites it: asking first makes
// a second installation keep the first one's printer data on both.
HANDLE AddPrinterQueue()
{
    HANDLE existing;
    if (::OpenPrinterA(Text(VARNEK_PRINTER_QUEUE), &existing, nullptr)) {
        ::ClosePrinter(existing);
        return nullptr;
    }
    // The share name is recorded, but without PRINTER_ATTRIBUTE_SHARED the
    // queue is not shared.
    PRINTER_INFO_2A info = {};
    info.pPrinterName = Text(VARNEK_PRINTER_QUEUE);
    info.pShareName = Text(VARNEK_PRINTER_QUEUE);
    info.pPortName = Text(VARNEK_PORT);
    info.pDriverName = Text(VARNEK_PRINTER_DRIVER);
    info.pSepFile = Text("");
    info.pPrintProcessor = Text("WinPrint");
    info.pDatatype = Text("RAW");
    info.pParameters = Text("");
    info.Attributes = PRINTER_ATTRIBUTE_DEFAULT;
    return ::AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
}

}  // namespace

InstallOutcome InstallPrinterSystem(const char* installFolder, InstallProgress& progress)
{
    const char* environment = SpoolerEnvironment();
    char driverDirectory[kPathBufferSize];
    DWORD needed = 0;
    if (!::GetPrinterDriverDirectoryA(nullptr, Text(environment), 1, reinterpret_cast<BYTE*>(driverDirectory),
                                      sizeof driverDirectory, &needed))
        return InstallOutcome::kInstalled;
    MoveDriverFiles(installFolder, driverDirectory);
    MoveMonitorLibrary(installFolder);

    char inf[kPathBufferSize];
    if (ComposePath(inf, sizeof inf, "%s\\Nelvusb.inf", installFolder))
        InstallUsbDeviceDriver(inf);

    AddPortMonitor();
    InstallOutcome outcome = InstallOutcome::kInstalled;
    DWORD portError = ERROR_SUCCESS;
    if (!AddUsbPort(portError)) {
        progress.ReportPortError(portError);
        outcome = InstallOutcome::kPortFailed;
    }
    AddPrinterDriver(environment);

    HANDLE queue = AddPrinterQueue();
    if (!queue)
        return outcome;
    DWORD position = 1;
    ::SetPrinterDataA(queue, Text("Position"), REG_DWORD, reinterpret_cast<BYTE*>(&position), sizeof position);
    // The queue handle stays open until the installer ends.
    AddLabelForms();
    return outcome;
}
