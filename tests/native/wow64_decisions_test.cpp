// Every place where a 32-bit program on 64-bit Windows takes another branch,
// through the functions the programs call. Wine cannot show these here: the
// machines run no 32-bit code, so the tests run a 64-bit build in a 64-bit
// prefix, where no WOW64 path is ever taken.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/spooler_env.h"
#include "common/usb_helper_command.h"
#include "common/wow64_rules.h"

namespace {

struct PlatformCase {
    ProcessBits bits;
    NativeMachine machine;
    const char* environment;  // the spooler's driver directory follows it ("x64", "W32X86")
    bool wow64;               // system32 redirected, USB update through the 64-bit helper
};

// 64-bit builds run only on 64-bit Windows; ARM64 Windows gets no module
// of ours (refused before anything is written), so its row only shows
// that nothing takes the x64 branches there.
const PlatformCase kCases[] = {
    {ProcessBits::k32, NativeMachine::kX64, "Windows x64", true},      // the shipped installer on 64-bit Windows
    {ProcessBits::k32, NativeMachine::kX86, "Windows NT x86", false},  // the shipped installer on 32-bit Windows
    {ProcessBits::k64, NativeMachine::kX64, "Windows x64", false},     // the x86_64 build the Wine tests run
    {ProcessBits::k32, NativeMachine::kOther, nullptr, false},
};

}  // namespace

TEST(Wow64Decisions, EachProcessAndMachine)
{
    for (const PlatformCase& c : kCases) {
        SCOPED_TRACE(static_cast<int>(c.bits) * 10 + static_cast<int>(c.machine));
        const char* environment = SpoolerEnvironmentFor(c.machine);
        if (c.environment)
            EXPECT_EQ(std::string(c.environment), environment);
        else
            EXPECT_EQ(nullptr, environment);
        EXPECT_EQ(c.wow64, RunsUnderWow64(c.bits, c.machine));
    }
}

TEST(UsbHelperCommand, TheInfPathArrivesWhole)
{
    char command[kUsbHelperCommandSize];
    const std::string folder = "C:\\Program Files\\Varnek 打印机";
    ASSERT_TRUE(ComposeUsbHelperCommand(command, sizeof command, (folder + "\\VarnekUsb64.exe").c_str(),
                                        (folder + "\\Nelvusb.inf").c_str()));
    EXPECT_EQ("\"" + folder + "\\VarnekUsb64.exe\" \"" + folder + "\\Nelvusb.inf\"", std::string(command));

    // What the helper's WinMain gets: the command line after its own name.
    const char* arguments = strchr(command + 1, '"') + 1;
    char inf[256];
    ASSERT_TRUE(InfPathOfHelperArguments(inf, sizeof inf, arguments));
    EXPECT_EQ(folder + "\\Nelvusb.inf", std::string(inf));

    // Two full-length paths fit.
    const std::string longest = "C:\\" + std::string(252, 'a');
    EXPECT_TRUE(ComposeUsbHelperCommand(command, sizeof command, longest.c_str(), longest.c_str()));
    EXPECT_TRUE(InfPathOfHelperArguments(inf, sizeof inf, (" \"" + longest + "\" ").c_str()));
}

TEST(UsbHelperCommand, AnythingButOneQuotedPathIsRefused)
{
    char inf[256];
    for (const char* arguments : {"", "   ", "C:\\x\\Nelvusb.inf", "\"C:\\x\\Nelvusb.inf", "\"\"",
                                  "\"C:\\a.inf\" \"C:\\b.inf\"", "\"C:\\a.inf\" /x", "\"C:\\a.inf\"x"}) {
        strcpy(inf, "stale");
        EXPECT_FALSE(InfPathOfHelperArguments(inf, sizeof inf, arguments)) << arguments;
        EXPECT_STREQ("", inf) << arguments;
    }
    const std::string tooLong = "\"C:\\" + std::string(253, 'a') + "\"";
    EXPECT_FALSE(InfPathOfHelperArguments(inf, sizeof inf, tooLong.c_str()));
    char small[8];
    EXPECT_FALSE(InfPathOfHelperArguments(small, sizeof small, "\"C:\\a\\b.inf\""));
}
