// What the product is made of, each fact written once: the package members
// and where each one goes, the printer driver they form, what the
// uninstaller deletes, the product key's values, the Start-menu entry and the
// data-folder rule. Plain data (no windows.h): both programs, the packer and
// the native tests read the same table. The names Windows knows the product
// by, which the code joins into literals, are in common/names.h.
#pragma once

#include <stddef.h>

// The package members, in package order: the order of kProductMembers.
enum class Member {
    kNoticeProgram,
    kService,
    kStdNames,
    kDriverData,
    kSettings,
    kMonitorLibrary,
    kUiPlugin,
    kPluginList,
    kRenderPlugin,
    kUsbCatalog,
    kUsbInf,
    kUsbDriver,
    kUnidrv,
    kUnidrvHelp,
    kUnidrvUi,
    kUninstaller,
    kUnires,
    kUsbHelper,
};
constexpr size_t kProductMemberCount = 18;

// Where a member ends up. Every member but the settings file is extracted
// into the installation folder; the driver files move on from there into the
// spooler's driver directory and the monitor library into the system folder.
enum class Destination { kInstallFolder, kDataFolder, kDriverDirectory, kSystemFolder };

// The machine check made before anything is written: what Windows' own
// processes load (the spooler, the USB stack) must be built for the running
// system's processor. Programs that run in their own process run under WOW64
// as well and are not judged.
enum class MachineCheck { kNone, kSpoolerModule, kKernelDriver };

// Where the build takes a member from: the vendor's files (or our
// stand-ins), the texts in payload/, or a program of this build.
enum class Source { kVendor, kPayloadText, kBuilt };

struct ProductMember {
    const char* name;  // the package entry and the installed file
    Destination destination;
    MachineCheck machineCheck;
    Source source;
};

extern const ProductMember kProductMembers[kProductMemberCount];

inline const char* MemberName(Member member)
{
    return kProductMembers[static_cast<size_t>(member)].name;
}

// The printer driver's DRIVER_INFO_3 (version 3; no monitor, no default data
// type), by member. Bare file names: the spooler finds them in its driver
// directory.
constexpr unsigned kDriverVersion = 3;
struct DriverRoles {
    Member driver;
    Member data;
    Member config;
    Member help;
};
extern const DriverRoles kDriverRoles;
constexpr size_t kDriverDependentCount = 8;
extern const Member kDriverDependents[kDriverDependentCount];

// The dependent files as the multi-string DRIVER_INFO_3 takes: each name
// ended by a zero, the list by a further zero. False when it does not fit.
bool ComposeDriverDependentFiles(char* buffer, size_t size);

// The files moved into the driver directory, in this order, and deleted from
// it by the uninstaller.
struct DriverFile {
    Member member;
    // The name as the move and the deletion write it, where it is not the
    // member's own spelling (the file system matches without regard to case).
    const char* spelling;
    // The product's own files go from the spooler's version-3 folder as well;
    // the Unidrv files there stay: every Unidrv-based driver uses them.
    bool productOwn;
};
constexpr size_t kDriverFileCount = 9;
extern const DriverFile kDriverFiles[kDriverFileCount];

inline const char* DriverFileName(const DriverFile& file)
{
    return file.spelling ? file.spelling : MemberName(file.member);
}

// The binary form of the data file that Unidrv builds beside it: never
// installed, deleted with the product's own driver files.
constexpr char kDriverBinaryDataFile[] = "VarnekPrinter.BUD";

// The values of the product key (VARNEK_PRODUCT_KEY in common/names.h): the
// two folders the vendor's components read, and the ownership record.
constexpr char kDataDirectoryValue[] = "Data Directory";
constexpr char kProgramDirectoryValue[] = "Program Directory";
constexpr char kOwnedFolderValue[] = "Owned Folder";

// A Start-menu folder in the shell's programs folder and its shortcut to the
// uninstaller. Chinese whatever the ANSI code page: UTF-16.
struct StartMenuEntry {
    const wchar_t* folder;
    const wchar_t* shortcut;
};
// The entry the installer makes.
extern const StartMenuEntry kStartMenuEntry;
// The entry of earlier versions, which the uninstaller removes as well.
extern const StartMenuEntry kEarlierStartMenuEntry;

// The data folder, where the settings file lives: on Windows 6.0 and later
// "ProgramData\VarnekPrinter" on the Windows drive; earlier Windows have no
// ProgramData and keep the file in the installation folder.
constexpr unsigned long kFirstProgramDataWindows = 6;

// The data folder on the drive of windowsFolder (as GetWindowsDirectory gives
// it). False when windowsFolder does not begin with a drive letter and a
// colon, or the path does not fit.
bool ComposeDataFolder(char* buffer, size_t size, const char* windowsFolder);
