#include "installer/steps/printer_system.h"

#include <windows.h>

#include <setupapi.h>
#include <winspool.h>

#include "common/chinese_text.h"
#include "common/label_form_table.h"
#include "common/names.h"
#include "common/path_text.h"
#include "common/product.h"
#include "common/spooler_env.h"
#include "common/step_log.h"
#include "common/usb_device_update.h"
#include "common/usb_helper_command.h"
#include "common/wow64_rules.h"
#include "installer/steps/file_moves.h"

static_assert(sizeof(char16_t) == sizeof(wchar_t), "UTF-16 names are Windows wide strings");
static_assert(kStoreMediaType == SPOST_PATH, "source media is a path");
static_assert(kStoreCopyStyle == SP_COPY_NEWER_OR_SAME, "copy only a newer or the same package");

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

// Asks the monitor to create "USB PORT:" through its Xcv interface. False,
// with the error code, when the monitor cannot be reached or the call
// fails; a port the monitor refuses (one that exists already) passes.
bool AddUsbPort(DWORD& error)
{
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
    HANDLE xcv;
    if (!::OpenPrinterA(const_cast<char*>(",XcvMonitor " VARNEK_PORT_MONITOR), &xcv, &defaults)) {
        error = ::GetLastError();
        return false;
    }
    static const wchar_t port[] = L"" VARNEK_PORT;
    static_assert(sizeof port == 20, "the port name with its terminator, in UTF-16");
    BYTE output[260];
    DWORD needed = 0;
    DWORD status = ERROR_SUCCESS;
    bool added = true;
    if (!::XcvDataW(xcv, L"AddPort", reinterpret_cast<BYTE*>(const_cast<wchar_t*>(port)), sizeof port, output,
                    sizeof output, &needed, &status)) {
        // A failed call that left no status still has its own error code.
        error = status != ERROR_SUCCESS ? status : ::GetLastError();
        added = false;
    }
    ::ClosePrinter(xcv);
    return added;
}

// Adds the 59 label forms through the queue "VarnekPrinter". A form that
// cannot be added (one that exists already) is skipped. The number of forms
// added; -1 when the queue cannot be opened.
int AddLabelForms()
{
    HANDLE printer;
    if (!::OpenPrinterW(const_cast<wchar_t*>(L"" VARNEK_PRINTER_QUEUE), &printer, nullptr))
        return -1;
    int added = 0;
    for (const LabelForm& row : kLabelForms) {
        const FormMeasures m = MeasureLabelForm(row);
        FORM_INFO_1W form = {};
        form.Flags = FORM_PRINTER;
        form.pName = reinterpret_cast<wchar_t*>(const_cast<char16_t*>(row.name));
        form.Size = {m.width, m.height};
        form.ImageableArea = {m.left, m.top, m.right, m.bottom};
        if (::AddFormW(printer, 1, reinterpret_cast<BYTE*>(&form)))
            ++added;
    }
    ::ClosePrinter(printer);
    return added;
}

// The helper is extracted with the INF into the installation folder.
DWORD UpdateThroughHelper(const char* infPath)
{
    char folder[kPathBufferSize];
    char helper[kPathBufferSize];
    if (!FolderOfPath(folder, sizeof folder, infPath) ||
        !ComposePath(helper, sizeof helper, "%s\\" VARNEK_USB_HELPER_FILE, folder))
        return ERROR_FILENAME_EXCED_RANGE;
    return RunUsbDriverHelper(helper, infPath);
}

InstallOutcome InstallUsbDriver(const Installation& installation)
{
    char inf[kPathBufferSize];
    DWORD usbError = ComposePath(inf, sizeof inf, "%s\\%s", installation.folder, MemberName(Member::kUsbInf))
                         ? InstallUsbDeviceDriver(inf)
                         : static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE);
    LogResult("usb driver", inf, usbError);
    return usbError == ERROR_SUCCESS ? InstallOutcome::kInstalled : InstallOutcome::kUsbDriverFailed;
}

InstallOutcome RegisterPortMonitor()
{
    const DWORD monitorError = AddPortMonitor();
    if (monitorError == ERROR_PRINT_MONITOR_ALREADY_INSTALLED) {
        LogStep("monitor", VARNEK_PORT_MONITOR, "exists", monitorError);
        return InstallOutcome::kInstalled;
    }
    LogResult("monitor", VARNEK_PORT_MONITOR, monitorError);
    return monitorError == ERROR_SUCCESS ? InstallOutcome::kInstalled : InstallOutcome::kMonitorFailed;
}

InstallOutcome AddPort(InstallProgress& progress)
{
    DWORD portError = ERROR_SUCCESS;
    const bool portAdded = AddUsbPort(portError);
    LogResult("port", VARNEK_PORT, portAdded ? ERROR_SUCCESS : portError);
    if (portAdded)
        return InstallOutcome::kInstalled;
    progress.ReportPortError(portError);
    return InstallOutcome::kPortFailed;
}

InstallOutcome AddDriver(const char* environment, bool driverFiles)
{
    if (!driverFiles) {
        LogStep("printer driver", VARNEK_PRINTER_DRIVER, "skipped, driver files not in place", 0);
        return InstallOutcome::kInstalled;
    }
    const DWORD driverError = AddPrinterDriver(environment);
    LogResult("printer driver", VARNEK_PRINTER_DRIVER, driverError);
    return driverError == ERROR_SUCCESS ? InstallOutcome::kInstalled : InstallOutcome::kPrinterDriverFailed;
}

// The queue with its printer data and forms; an existing queue is left as
// it is, printer data and forms included.
InstallOutcome CreateQueue()
{
    bool exists = false;
    DWORD queueError = ERROR_SUCCESS;
    HANDLE queue = AddPrinterQueue(exists, queueError);
    if (!queue) {
        if (exists) {
            LogStep("queue", VARNEK_PRINTER_QUEUE, "exists", 0);
            return InstallOutcome::kInstalled;
        }
        LogResult("queue", VARNEK_PRINTER_QUEUE, queueError);
        return InstallOutcome::kQueueFailed;
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
    return InstallOutcome::kInstalled;
}

}  // namespace

void InstallPrinterSystem(const Installation& installation, InstallProgress& progress, InstallResults& results)
{
    const char* environment = SpoolerEnvironment();
    const bool driverFiles = PlaceFiles(installation.folder, environment, results);
    results.Record(InstallUsbDriver(installation));
    results.Record(RegisterPortMonitor());
    results.Record(AddPort(progress));
    results.Record(AddDriver(environment, driverFiles));
    results.Record(CreateQueue());
}

PortErrorText::PortErrorText(unsigned long code)
{
    // Code 0 would read "The operation completed successfully".
    if (code != ERROR_SUCCESS)
        ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                         nullptr, code, 0, reinterpret_cast<wchar_t*>(&m_systemText), 0, nullptr);
    char numbered[128];
    if (!m_systemText && ComposePortErrorText(numbered, sizeof numbered, code))
        ToWide(kTextCodePage, numbered, -1, m_numbered, sizeof m_numbered / sizeof m_numbered[0]);
}

PortErrorText::~PortErrorText()
{
    if (m_systemText)
        ::LocalFree(m_systemText);
}

unsigned long AddPortMonitor()
{
    MONITOR_INFO_2A info = {};
    info.pName = const_cast<char*>(VARNEK_PORT_MONITOR);
    info.pEnvironment = const_cast<char*>(SpoolerEnvironment());
    info.pDLLName = const_cast<char*>(VARNEK_MONITOR_LIBRARY);
    return ::AddMonitorA(nullptr, 2, reinterpret_cast<BYTE*>(&info)) ? ERROR_SUCCESS : ::GetLastError();
}

unsigned long RunUsbDriverHelper(const char* helperPath, const char* infPath)
{
    char command[kUsbHelperCommandSize];
    if (!ComposeUsbHelperCommand(command, sizeof command, helperPath, infPath))
        return ERROR_FILENAME_EXCED_RANGE;
    // The full path as the application name: no search for the program.
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(helperPath, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                          &startup, &process))
        return ::GetLastError();
    ::CloseHandle(process.hThread);
    // No time limit: the device installation the helper makes has none either.
    DWORD code = ERROR_GEN_FAILURE;
    if (::WaitForSingleObject(process.hProcess, INFINITE) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(process.hProcess, &code))
        code = ERROR_GEN_FAILURE;
    ::CloseHandle(process.hProcess);
    return code;
}

unsigned long InstallUsbDeviceDriver(const char* infPath)
{
    const bool throughHelper = CurrentProcessRunsUnderWow64();
    return InstallDriverPackage(
        infPath,
        [throughHelper](const char* inf) {
            return (throughHelper ? UpdateThroughHelper(inf) : UpdateUsbDeviceDriver(inf)) == 0;
        },
        [](const char* inf, unsigned mediaType, unsigned copyStyle) -> unsigned long {
            // No destination buffer: the store's name for the package is not needed.
            if (::SetupCopyOEMInfA(inf, nullptr, mediaType, copyStyle, nullptr, 0, nullptr, nullptr))
                return 0;
            return ::GetLastError();
        });
}
