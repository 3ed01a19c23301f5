#include "installer/steps/installation.h"

#include "common/step_log.h"
#include "installer/steps/extract_package.h"
#include "installer/steps/printer_service.h"
#include "installer/steps/printer_system.h"
#include "installer/steps/system_entries.h"

InstallOutcome RunInstallation(const Installation& installation, InstallProgress& progress, InstallResults& results)
{
    bool serviceStopped = false;
    const InstallOutcome extracted = ExtractPackage(installation, progress, serviceStopped);
    LogStep("extract package", installation.folder,
            extracted == InstallOutcome::kInstalled       ? "ok"
            : extracted == InstallOutcome::kRestartNeeded ? "restart needed"
                                                          : "failed",
            static_cast<unsigned long>(extracted));
    if (extracted != InstallOutcome::kInstalled && extracted != InstallOutcome::kRestartNeeded) {
        // The old installation's program, wherever the extraction stopped.
        if (serviceStopped)
            ResumePrinterService();
        return extracted;
    }
    results.Record(extracted);
    results.Record(WriteInstallRegistry(installation));
    results.Record(CreateStartMenuEntry(installation));
    // Before the printing stack moves the driver files out of the folder,
    // so that the entry's size counts them.
    results.Record(WriteUninstallEntry(installation));
    progress.ShowStatus("正在安装打印机驱动，请稍候...");
    InstallPrinterSystem(installation, progress, results);
    results.Record(WriteInstallRegistry(installation));
    results.Record(InstallPrinterService(installation, serviceStopped));
    return results.Outcome();
}
