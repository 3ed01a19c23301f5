#include "common/driver_package.h"

const char* const kDriverFiles[kDriverFileCount] = {
    "VarnekUI.ini", "VarnekUI.dll", "VarnekUni.dll", "UNIRES.DLL",        "unidrv.hlp",
    "UNIDRVUI.dll", "UNIDRV.dll",   "STDNAMES.GPD",  "VarnekPrinter.gpd",
};

const char kDriverPath[] = "UNIDRV.dll";
const char kDriverDataFile[] = "VarnekPrinter.gpd";
const char kDriverConfigFile[] = "UNIDRVUI.dll";
const char kDriverHelpFile[] = "UNIDRV.HLP";

// The literal's own terminator is the list's final zero.
const char kDriverDependentFiles[] =
    "UNIDRV.dll\0UNIRES.DLL\0UNIDRVUI.dll\0VarnekPrinter.gpd\0VarnekUI.dll\0VarnekUI.ini\0VarnekUni.dll\0"
    "STDNAMES.GPD\0";
const size_t kDriverDependentFilesSize = sizeof kDriverDependentFiles;
