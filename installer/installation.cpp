#include "installer/installation.h"

#include "installer/data_folder.h"
#include "installer/extract_package.h"
#include "installer/install_registry.h"
#include "installer/printer_service.h"
#include "installer/printer_system.h"
#include "installer/start_menu.h"
#include "installer/uninstall_entry.h"

InstallOutcome RunInstallation(const char* installFolder, InstallProgress& progress)
{
    const InstallOutcome extracted = ExtractPackage(installFolder, progress);
    if (extracted != InstallOutcome::kInstalled)
        return extracted;
    WriteInstallRegistry(installFolder, g_szDataDir);
    CreateStartMenuEntry(installFolder);
    // Before the printing stack moves the driver files out of the folder,
    // so that the entry's size counts them.
    WriteUninstallEntry(installFolder);
    progress.ShowStatus("正在安装打印机驱动，请稍候...");
    InstallOutcome outcome = InstallPrinterSystem(installFolder, progress);
    WriteInstallRegistry(installFolder, g_szDataDir);
    InstallPrinterService(installFolder);
    return outcome;
}
