#include "installer/printer_system.h"

#include <windows.h>
#include <winspool.h>

#include "common/names.h"
#include "common/path_text.h"
#include "common/product.h"
#include "common/spooler_env.h"
#include "common/step_log.h"
#include "installer/file_moves.h"
#include "installer/label_forms.h"
#include "installer/port_monitor.h"
#include "installer/usb_driver.h"

namespace {

char* Text(const char* text)
{
    return const_cast<char*>(text);
}

// The spooler copies the files from the driver directory into its own
// folder for the driver's version; it replaces files it has loaded itself,
// where a copy by hand would fail. All files, whatever their time stamps: a
// reinstallation puts the package's own files in place.
DWORD AddPrinterDriver(const char* environment)
{
    char dependentFiles[kPathBufferSize];
    if (!ComposeDriverDependentFiles(dependentFiles, sizeof dependentFiles))
        return ERROR_INSUFFICIENT_BUFFER;
    DRIVER_INFO_3A info = {};
    info.cVersion = kDriverVersion;
    info.pName = Text(VARNEK_PRINTER_DRIVER);
    info.pEnvironment = Text(environment);
    info.pDriverPath = Text(MemberName(kDriverRoles.driver));
    info.pDataFile = Text(MemberName(kDriverRoles.data));
    info.pConfigFile = Text(MemberName(kDriverRoles.config));
    info.pHelpFile = Text(MemberName(kDriverRoles.help));
    info.pDependentFiles = dependentFiles;
    return ::AddPrinterDriverExA(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_ALL_FILES) ? ERROR_SUCCESS
                                                                                                  : ::GetLastError();
}

// The new queue, or null when it could not be created (error set) or
// exists already (exists set). Windows refuses an existing queue, Wine
// overwrites it: asking first makes a second installation keep the first
// one's printer data on both.
HANDLE AddPrinterQueue(bool& exists, DWORD& error)
{
    HANDLE existing;
    exists = ::OpenPrinterA(Text(VARNEK_PRINTER_QUEUE), &existing, nullptr) != FALSE;
    if (exists) {
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
    HANDLE queue = ::AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    error = queue ? ERROR_SUCCESS : ::GetLastError();
    return queue;
}

// Driver files and monitor library; false when the driver may not be added:
// files missing, or old copies still in the driver directory.
bool PlaceFiles(const char* installFolder, const char* environment, InstallResults& results)
{
    char driverDirectory[kPathBufferSize];
    DWORD needed = 0;
    bool driverFiles = false;
    if (::GetPrinterDriverDirectoryA(nullptr, Text(environment), 1, reinterpret_cast<BYTE*>(driverDirectory),
                                     sizeof driverDirectory, &needed)) {
        const InstallOutcome moved = MoveDriverFiles(installFolder, driverDirectory);
        // A driver-directory file in use would have the spooler take the old
        // one as the new driver's file: that is a failed step.
        driverFiles = moved == InstallOutcome::kInstalled;
        results.Record(driverFiles ? moved : InstallOutcome::kDriverFilesFailed);
    } else {
        LogStep("driver directory", environment, "failed", ::GetLastError());
        results.Record(InstallOutcome::kDriverFilesFailed);
    }
    results.Record(MoveMonitorLibrary(installFolder));
    return driverFiles;
}

}  // namespace

void InstallPrinterSystem(const char* installFolder, InstallProgress& progress, InstallResults& results)
{
    const char* environment = SpoolerEnvironment();
    const bool driverFiles = PlaceFiles(installFolder, environment, results);

    char inf[kPathBufferSize];
    DWORD usbError = ComposePath(inf, sizeof inf, "%s\\%s", installFolder, MemberName(Member::kUsbInf))
                         ? InstallUsbDeviceDriver(inf)
                         : static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE);
    LogResult("usb driver", inf, usbError);
    if (usbError != ERROR_SUCCESS)
        results.Record(InstallOutcome::kUsbDriverFailed);

    const DWORD monitorError = AddPortMonitor();
    if (monitorError == ERROR_PRINT_MONITOR_ALREADY_INSTALLED) {
        LogStep("monitor", VARNEK_PORT_MONITOR, "exists", monitorError);
    } else {
        LogResult("monitor", VARNEK_PORT_MONITOR, monitorError);
        if (monitorError != ERROR_SUCCESS)
            results.Record(InstallOutcome::kMonitorFailed);
    }

    DWORD portError = ERROR_SUCCESS;
    const bool portAdded = AddUsbPort(portError);
    LogResult("port", VARNEK_PORT, portAdded ? ERROR_SUCCESS : portError);
    if (!portAdded) {
        progress.ReportPortError(portError);
        results.Record(InstallOutcome::kPortFailed);
    }

    if (driverFiles) {
        const DWORD driverError = AddPrinterDriver(environment);
        LogResult("printer driver", VARNEK_PRINTER_DRIVER, driverError);
        if (driverError != ERROR_SUCCESS)
            results.Record(InstallOutcome::kPrinterDriverFailed);
    } else {
        LogStep("printer driver", VARNEK_PRINTER_DRIVER, "skipped, driver files not in place", 0);
    }

    bool exists = false;
    DWORD queueError = ERROR_SUCCESS;
    HANDLE queue = AddPrinterQueue(exists, queueError);
    if (!queue) {
        if (exists) {
            LogStep("queue", VARNEK_PRINTER_QUEUE, "exists", 0);
        } else {
            LogResult("queue", VARNEK_PRINTER_QUEUE, queueError);
            results.Record(InstallOutcome::kQueueFailed);
        }
        return;
    }
    LogResult("queue", VARNEK_PRINTER_QUEUE, ERROR_SUCCESS);
    DWORD position = 1;
    LogResult("printer data", "Position",
              ::SetPrinterDataA(queue, Text("Position"), REG_DWORD, reinterpret_cast<BYTE*>(&position),
                                sizeof position));
    // The queue handle stays open until the installer ends.
    const int forms = AddLabelForms();
    char added[16];
    ComposePath(added, sizeof added, "%d added", forms);
    LogStep("forms", VARNEK_PRINTER_QUEUE, forms < 0 ? "failed" : added, 0);
}
