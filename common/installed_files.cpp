#include "common/installed_files.h"

#include "common/names.h"

const char* const kInstalledFileNames[] = {
    "Brevlet.exe",     "VKPrinterService.exe", "STDNAMES.GPD",  "VarnekPrinter.gpd",
    "VarnekSetting.ini", VARNEK_MONITOR_LIBRARY, "VarnekUI.dll", "VarnekUI.ini",
    "VarnekUni.dll",   "Nelvusb.cat",          "Nelvusb.inf",   "Nelvusb.sys",
    "UNIDRV.dll",      "UNIDRV.HLP",           "UNIDRVUI.dll",  VARNEK_UNINSTALLER_FILE,
    "UNIRES.DLL",      VARNEK_USB_HELPER_FILE,
};
const int kInstalledFileCount = sizeof kInstalledFileNames / sizeof kInstalledFileNames[0];
