#include "uninstaller/steps/driver_file_removal.h"

const DriverFileRemoval kDriverFileRemovals[kDriverFileRemovalCount] = {
    {"VarnekUI.ini", true},  {"VarnekUI.dll", true},       {"VarnekUni.dll", true},
    {"UNIRES.DLL", false},   {"unidrv.hlp", false},        {"UNIDRVUI.dll", false},
    {"UNIDRV.dll", false},   {"STDNAMES.GPD", false},      {"VarnekPrinter.gpd", true},
    {"VarnekPrinter.BUD", true},
};
