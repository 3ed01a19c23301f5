#include "common/product.h"

#include <string.h>

#include "common/names.h"
#include "common/path_text.h"

// One row a line, "{name, Destination, MachineCheck, Source}": the build
// reads the names and sources from here (cmake/payload_members.cmake).
const ProductMember kProductMembers[kProductMemberCount] = {
    {"Brevlet.exe", Destination::kInstallFolder, MachineCheck::kNone, Source::kVendor},
    {"VKPrinterService.exe", Destination::kInstallFolder, MachineCheck::kNone, Source::kVendor},
    {"STDNAMES.GPD", Destination::kDriverDirectory, MachineCheck::kNone, Source::kVendor},
    {"VarnekPrinter.gpd", Destination::kDriverDirectory, MachineCheck::kNone, Source::kVendor},
    {"VarnekSetting.ini", Destination::kDataFolder, MachineCheck::kNone, Source::kPayloadText},
    {VARNEK_MONITOR_LIBRARY, Destination::kSystemFolder, MachineCheck::kSpoolerModule, Source::kVendor},
    {"VarnekUI.dll", Destination::kDriverDirectory, MachineCheck::kSpoolerModule, Source::kVendor},
    {"VarnekUI.ini", Destination::kDriverDirectory, MachineCheck::kNone, Source::kPayloadText},
    {"VarnekUni.dll", Destination::kDriverDirectory, MachineCheck::kSpoolerModule, Source::kVendor},
    {"Nelvusb.cat", Destination::kInstallFolder, MachineCheck::kNone, Source::kVendor},
    {"Nelvusb.inf", Destination::kInstallFolder, MachineCheck::kNone, Source::kVendor},
    {"Nelvusb.sys", Destination::kInstallFolder, MachineCheck::kKernelDriver, Source::kVendor},
    {"UNIDRV.dll", Destination::kDriverDirectory, MachineCheck::kSpoolerModule, Source::kVendor},
    {"UNIDRV.HLP", Destination::kDriverDirectory, MachineCheck::kNone, Source::kVendor},
    {"UNIDRVUI.dll", Destination::kDriverDirectory, MachineCheck::kSpoolerModule, Source::kVendor},
    {VARNEK_UNINSTALLER_FILE, Destination::kInstallFolder, MachineCheck::kNone, Source::kBuilt},
    {"UNIRES.DLL", Destination::kDriverDirectory, MachineCheck::kSpoolerModule, Source::kVendor},
    {VARNEK_USB_HELPER_FILE, Destination::kInstallFolder, MachineCheck::kNone, Source::kBuilt},
};

const DriverRoles kDriverRoles = {Member::kUnidrv, Member::kDriverData, Member::kUnidrvUi, Member::kUnidrvHelp};

const Member kDriverDependents[kDriverDependentCount] = {
    Member::kUnidrv,   Member::kUnires,     Member::kUnidrvUi,     Member::kDriverData,
    Member::kUiPlugin, Member::kPluginList, Member::kRenderPlugin, Member::kStdNames,
};

const DriverFile kDriverFiles[kDriverFileCount] = {
    {Member::kPluginList, nullptr, true},   {Member::kUiPlugin, nullptr, true},
    {Member::kRenderPlugin, nullptr, true}, {Member::kUnires, nullptr, false},
    {Member::kUnidrvHelp, "unidrv.hlp", false}, {Member::kUnidrvUi, nullptr, false},
    {Member::kUnidrv, nullptr, false},      {Member::kStdNames, nullptr, false},
    {Member::kDriverData, nullptr, true},
};

const StartMenuEntry kStartMenuEntry = {L"Varnek打印机", L"卸载 Varnek打印机驱动.lnk"};
const StartMenuEntry kEarlierStartMenuEntry = {L"Varnek标牌打印机", L"卸载 Varnek标牌打印机驱动.lnk"};

bool ComposeDriverDependentFiles(char* buffer, size_t size)
{
    size_t used = 0;
    for (Member member : kDriverDependents) {
        const char* name = MemberName(member);
        const size_t length = strlen(name) + 1;
        // Room for the name, its zero and the list's final zero.
        if (length + 1 > size - used) {
            if (size > 0)
                buffer[0] = '\0';
            return false;
        }
        memcpy(buffer + used, name, length);
        used += length;
    }
    buffer[used] = '\0';
    return true;
}

bool ComposeDataFolder(char* buffer, size_t size, const char* windowsFolder)
{
    const char drive = windowsFolder[0];
    if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z')) || windowsFolder[1] != ':') {
        if (size > 0)
            buffer[0] = '\0';
        return false;
    }
    return ComposePath(buffer, size, "%.2s\\ProgramData\\VarnekPrinter", windowsFolder);
}
