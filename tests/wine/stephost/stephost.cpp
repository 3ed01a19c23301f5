// stephost: runs one installation step of the installer on its own, for the
// Wine tests that need a step without the wizard (or without the payload).
// Arguments are narrow strings in the ANSI code page, as the wizard passes
// them. Exit code 0 when the step ran, 3 for bad usage.
//
//   stephost registry FOLDER DATAFOLDER   WriteInstallRegistry
//   stephost startmenu FOLDER             the Start-menu folder and CreateUninstallShortcut
//   stephost shortcut TARGET LINKFILE     CreateUninstallShortcut
//   stephost service FOLDER [running]     InstallPrinterService (running: the service ran
//                                         before the upgrade); prints {"result": N}
//   stephost usbdriver INF                InstallUsbDeviceDriver; prints {"result": N}
//   stephost usbhelper HELPER INF         RunUsbDriverHelper; prints {"result": N}
//   stephost printersystem FOLDER         InstallPrinterSystem; prints {"result": N}, the
//                                         outcome of its results
//   stephost monitor                      AddPortMonitor; prints {"result": N}
#include <stdio.h>
#include <string.h>

#include "common/chinese_text.h"
#include "common/path_text.h"
#include "installer/steps/printer_service.h"
#include "installer/steps/printer_system.h"
#include "installer/steps/system_entries.h"

namespace {

// An installation into folder, its data folder dataFolder; false when either
// does not fit.
bool At(const char* folder, const char* dataFolder, Installation& installation)
{
    return CopyText(installation.folder, sizeof installation.folder, folder) &&
           CopyText(installation.dataFolder, sizeof installation.dataFolder, dataFolder);
}

// As on the wizard's installing page: only the port's "ERROR" box shows.
class BoxProgress : public InstallProgress {
public:
    void ShowStatus(const char*) override {}
    void ShowPath(const char*) override {}
    void SetProgress(int) override {}
    void ReportPortError(unsigned long code) override
    {
        ::MessageBoxW(nullptr, PortErrorText(code), L"ERROR", MB_OK | MB_ICONINFORMATION);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && strcmp(argv[1], "monitor") == 0) {
        printf("{\"result\": %lu}\n", static_cast<unsigned long>(AddPortMonitor()));
        return 0;
    }
    if (argc < 3)
        return 3;
    const char* command = argv[1];
    const bool registry = strcmp(command, "registry") == 0 && argc > 3;
    // The steps that take an installation: FOLDER, and DATAFOLDER for the registry.
    Installation installation = {};
    const bool fits = At(argv[2], registry ? argv[3] : "", installation);
    if (registry && fits)
        WriteInstallRegistry(installation);
    else if (strcmp(command, "startmenu") == 0 && fits)
        CreateStartMenuEntry(installation);
    else if (strcmp(command, "shortcut") == 0 && argc > 3)
        CreateUninstallShortcut(argv[2], WideText(argv[3], -1, CP_ACP));
    else if (strcmp(command, "service") == 0 && fits)
        printf("{\"result\": %d}\n",
               static_cast<int>(InstallPrinterService(installation, argc > 3 && strcmp(argv[3], "running") == 0)));
    else if (strcmp(command, "usbdriver") == 0)
        printf("{\"result\": %lu}\n", static_cast<unsigned long>(InstallUsbDeviceDriver(argv[2])));
    else if (strcmp(command, "usbhelper") == 0 && argc > 3)
        printf("{\"result\": %lu}\n", static_cast<unsigned long>(RunUsbDriverHelper(argv[2], argv[3])));
    else if (strcmp(command, "printersystem") == 0 && fits) {
        BoxProgress progress;
        InstallResults results;
        InstallPrinterSystem(installation, progress, results);
        printf("{\"result\": %d}\n", static_cast<int>(results.Outcome()));
    }
    else
        return 3;
    return 0;
}
