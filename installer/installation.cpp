#include "installer/installation.h"

#include "common/names.h"
#include "common/step_log.h"
#include "installer/folder_preparation.h"
#include "installer/extract_package.h"
#include "installer/install_registry.h"
#include "installer/printer_service.h"
#include "installer/printer_system.h"
#include "installer/start_menu.h"
#include "installer/uninstall_entry.h"

namespace {

void Record(InstallResults& results, const char* step, const char* object, unsigned long error,
            InstallOutcome failure)
{
    LogResult(step, object, error);
    if (error != 0)
        results.Record(failure);
}

}  // namespace

InstallOutcome RunInstallation(const char* installFolder, InstallProgress& progress, InstallResults& results)
{
    bool serviceStopped = false;
    const InstallOutcome extracted = ExtractPackage(installFolder, progress, serviceStopped);
    LogStep("extract package", installFolder,
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
    Record(results, "product key", VARNEK_PRODUCT_KEY, WriteInstallRegistry(installFolder, g_szDataDir),
           InstallOutcome::kProductKeyFailed);
    Record(results, "start menu", installFolder, CreateStartMenuEntry(installFolder),
           InstallOutcome::kStartMenuFailed);
    // Before the printing stack moves the driver files out of the folder,
    // so that the entry's size counts them.
    Record(results, "uninstall entry", VARNEK_UNINSTALL_KEY, WriteUninstallEntry(installFolder),
           InstallOutcome::kUninstallEntryFailed);
    progress.ShowStatus("正在安装打印机驱动，请稍候...");
    InstallPrinterSystem(installFolder, progress, results);
    Record(results, "product key", VARNEK_PRODUCT_KEY, WriteInstallRegistry(installFolder, g_szDataDir),
           InstallOutcome::kProductKeyFailed);
    results.Record(InstallPrinterService(installFolder, serviceStopped));
    return results.Outcome();
}
