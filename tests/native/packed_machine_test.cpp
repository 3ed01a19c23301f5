// The architecture check of the packed modules, on packages in memory:
// whatever the check refuses, nothing is written.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/product.h"
#include "package/packed_machine.h"
#include "memory_package.h"

namespace {

const ExtractFolders kFolders = {"C:\\Program Files\\VarnekPrinter", "C:\\ProgramData\\VarnekPrinter"};
const uint32_t kImageSize = 64;

// A minimal image as a linker lays it out: MZ header, the PE header at
// e_lfanew, then padding.
Bytes Image(uint16_t machine, uint32_t peOffset = 0x80, size_t size = 9000)
{
    Bytes image(size, 0);
    image[0] = 'M';
    image[1] = 'Z';
    PutU32(&image[0x3C], peOffset);
    memcpy(&image[peOffset], "PE\0\0", 4);
    image[peOffset + 4] = machine & 0xFF;
    image[peOffset + 5] = machine >> 8;
    return image;
}

Bytes Package(const std::vector<std::pair<std::string, Bytes>>& members)
{
    Bytes file(kImageSize, 0xEE);
    Bytes part = EncodeVersionHeader("1.3.0.30");
    file.insert(file.end(), part.begin(), part.end());
    for (const auto& member : members) {
        Bytes stream;
        EXPECT_TRUE(CompressMember(member.second, &stream));
        part = EncodeEntryHeader(member.first, static_cast<uint32_t>(stream.size()));
        file.insert(file.end(), part.begin(), part.end());
        file.insert(file.end(), stream.begin(), stream.end());
    }
    part = EncodeTrailer(static_cast<uint32_t>(members.size()), kImageSize);
    file.insert(file.end(), part.begin(), part.end());
    return file;
}

// The members the product table has judged: the driver modules, the monitor
// library and the USB driver.
std::vector<const char*> NativeModules()
{
    std::vector<const char*> modules;
    for (const ProductMember& member : kProductMembers) {
        if (member.machineCheck != MachineCheck::kNone)
            modules.push_back(member.name);
    }
    return modules;
}

// The 64-bit product's members that matter here, with the module under
// test replaced.
std::vector<std::pair<std::string, Bytes>> Members(const std::string& replaced = "", const Bytes& content = {})
{
    std::vector<std::pair<std::string, Bytes>> members = {
        {"Brevlet.exe", Image(kPeMachineI386)},  // the notice program is not started by the installer
        {"VarnekSetting.ini", Bytes(104, 'a')},
        {"Uninstaller.exe", Image(kPeMachineI386)},
        {"VarnekUsb64.exe", Image(kPeMachineAmd64)},
    };
    for (const char* module : NativeModules())
        members.push_back({module, Image(kPeMachineAmd64)});
    for (auto& member : members) {
        if (member.first == replaced)
            member.second = content;
    }
    return members;
}

InstallOutcome Extract(const Bytes& file, NativeMachine machine, RecordingTarget& target)
{
    MemoryInput input(file);
    return ExtractPackageFile(input, input.Size(), kFolders, machine, target);
}

}  // namespace

TEST(PeMachine, ReadsTheMachineOfTheHeaderAtELfanew)
{
    Bytes i386 = Image(kPeMachineI386);
    EXPECT_EQ(kPeMachineI386, PeMachineOf(i386.data(), i386.size()));
    Bytes amd64 = Image(kPeMachineAmd64, 0x200);
    EXPECT_EQ(kPeMachineAmd64, PeMachineOf(amd64.data(), amd64.size()));

    // The header must lie wholly within the bytes given.
    EXPECT_EQ(0, PeMachineOf(amd64.data(), 0x200 + 5));
    EXPECT_EQ(kPeMachineAmd64, PeMachineOf(amd64.data(), 0x200 + 6));
    Bytes far = Image(kPeMachineAmd64, 0x80);
    PutU32(&far[0x3C], 0xFFFFFFFE);
    EXPECT_EQ(0, PeMachineOf(far.data(), far.size()));
    Bytes noSignature = Image(kPeMachineAmd64);
    noSignature[0x81] = 'X';
    EXPECT_EQ(0, PeMachineOf(noSignature.data(), noSignature.size()));
    Bytes noMz = Image(kPeMachineAmd64);
    noMz[0] = 'Z';
    EXPECT_EQ(0, PeMachineOf(noMz.data(), noMz.size()));
    EXPECT_EQ(0, PeMachineOf(i386.data(), 0x3F));
}

TEST(PackedModules, FitTheSystemTheyWereBuiltFor)
{
    RecordingTarget x64;
    EXPECT_EQ(InstallOutcome::kInstalled, Extract(Package(Members()), NativeMachine::kX64, x64));
    EXPECT_EQ(11u, x64.files.size());

    // x64 modules on 32-bit Windows, and on any other machine (ARM64).
    for (NativeMachine machine : {NativeMachine::kX86, NativeMachine::kOther}) {
        RecordingTarget target;
        EXPECT_EQ(InstallOutcome::kWrongArchitecture, Extract(Package(Members()), machine, target));
        EXPECT_EQ(0, target.creates);
        EXPECT_TRUE(target.statuses.empty());
    }
}

TEST(PackedModules, OneModuleOfAnotherMachineRefusesThePackage)
{
    for (const char* module : NativeModules()) {
        RecordingTarget target;
        EXPECT_EQ(InstallOutcome::kWrongArchitecture,
                  Extract(Package(Members(module, Image(kPeMachineI386))), NativeMachine::kX64, target))
            << module;
        EXPECT_EQ(0, target.creates) << module;
    }
    // Matched by name without regard to case, as the file system does; a
    // broken header in an image counts as another machine.
    auto members = Members();
    members.push_back({"unidrv.DLL", Image(kPeMachineI386)});
    RecordingTarget renamed;
    EXPECT_EQ(InstallOutcome::kWrongArchitecture, Extract(Package(members), NativeMachine::kX64, renamed));
    Bytes broken = Image(kPeMachineAmd64);
    PutU32(&broken[0x3C], 0x7FFFFFFF);
    RecordingTarget target;
    EXPECT_EQ(InstallOutcome::kWrongArchitecture,
              Extract(Package(Members("VarnekRt81.dll", broken)), NativeMachine::kX64, target));
}

TEST(PackedModules, ProgramsThatRunOnTheirOwnAreNotJudged)
{
    // The 32-bit service, uninstaller and notice program run on either
    // system under WOW64; the 64-bit helper is only ever started on x64
    // Windows.
    auto members = Members();
    members.push_back({"VKPrinterService.exe", Image(kPeMachineI386)});
    for (auto& member : members) {
        if (member.first == "VarnekUsb64.exe")
            member.second = Image(kPeMachineI386);
    }
    RecordingTarget helper;
    EXPECT_EQ(InstallOutcome::kInstalled, Extract(Package(members), NativeMachine::kX64, helper));
}

TEST(PackedModules, AModuleThatIsNoImageIsRefused)
{
    // A text placeholder for the USB driver is refused like one for a DLL.
    for (const char* module : {"UNIRES.DLL", "Nelvusb.sys"}) {
        for (const Bytes& content : {Bytes(5000, 'r'), Bytes()}) {
            RecordingTarget target;
            EXPECT_EQ(InstallOutcome::kWrongArchitecture,
                      Extract(Package(Members(module, content)), NativeMachine::kX64, target))
                << module;
            EXPECT_EQ(0, target.creates) << module;
        }
    }
}

TEST(NativeMachineOfPe, OnlyX86AndX64AreOurs)
{
    // What IsWow64Process2 names as the native machine. On Windows 11 ARM64
    // an x86 process may be shown x64 by GetNativeSystemInfo; Wine runs on
    // x64 only, so ARM64 is decided here.
    EXPECT_EQ(NativeMachine::kX64, NativeMachineOfPe(0x8664));
    EXPECT_EQ(NativeMachine::kX86, NativeMachineOfPe(0x014C));
    for (unsigned short other : {0xAA64, 0x01C4, 0x0200, 0x0000})
        EXPECT_EQ(NativeMachine::kOther, NativeMachineOfPe(other)) << std::hex << other;
}

TEST(PackedModules, ADamagedPackageIsReportedAsDamagedFirst)
{
    Bytes file = Package(Members("UNIDRV.dll", Image(kPeMachineI386)));
    file[file.size() - 20] ^= 0x01;  // inside the last stream
    RecordingTarget target;
    EXPECT_EQ(InstallOutcome::kPackageDamaged, Extract(file, NativeMachine::kX64, target));
}
