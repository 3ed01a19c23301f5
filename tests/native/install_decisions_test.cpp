// Decisions of the system steps that Wine cannot show: its forced driver
// update succeeds with no device attached (so the fallback never runs), and
// it starts a service whether or not its image path is quoted.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "installer/steps/install_results.h"
#include "installer/steps/installation_paths.h"
#include "installer/steps/printer_system.h"

namespace {

struct DriverCalls {
    bool updateSucceeds = true;
    unsigned long storeResult = 0;
    std::vector<std::string> log;

    unsigned long Install(const char* inf)
    {
        return InstallDriverPackage(
            inf,
            [this](const char* path) {
                log.push_back("update " + std::string(path));
                return updateSucceeds;
            },
            [this](const char* path, unsigned mediaType, unsigned copyStyle) {
                log.push_back("store " + std::string(path) + " " + std::to_string(mediaType) + " " +
                              std::to_string(copyStyle));
                return storeResult;
            });
    }
};

}  // namespace

// The update is the installer's own call or the 64-bit helper's
// (wow64_decisions_test.cpp): either way a failure falls back to the store.
TEST(UsbDriver, AnAttachedPrinterGetsTheForcedDriverAndNothingIsCopied)
{
    DriverCalls calls;
    EXPECT_EQ(0u, calls.Install("C:\\Program Files\\VarnekPrinter\\Nelvusb.inf"));
    ASSERT_EQ(1u, calls.log.size());
    EXPECT_EQ("update C:\\Program Files\\VarnekPrinter\\Nelvusb.inf", calls.log[0]);
}

TEST(UsbDriver, WithoutAPrinterThePackageGoesToTheDriverStore)
{
    DriverCalls calls;
    calls.updateSucceeds = false;
    EXPECT_EQ(0u, calls.Install("D:\\x\\Nelvusb.inf"));
    ASSERT_EQ(2u, calls.log.size());
    // SPOST_PATH = 1, SP_COPY_NEWER_OR_SAME = 4.
    EXPECT_EQ("store D:\\x\\Nelvusb.inf 1 4", calls.log[1]);

    calls.log.clear();
    calls.storeResult = 0xE000022F;  // ERROR_NO_CATALOG_FOR_OEM_INF
    EXPECT_EQ(0xE000022Fu, calls.Install("D:\\x\\Nelvusb.inf"));
    EXPECT_EQ(2u, calls.log.size());
}

TEST(ServiceCommand, ImagePathIsQuotedSoNoPrefixCanBeStarted)
{
    char command[256];
    ASSERT_TRUE(ComposeServiceCommand(command, sizeof command, "C:\\Program Files\\VarnekPrinter"));
    EXPECT_STREQ("\"C:\\Program Files\\VarnekPrinter\\VKPrinterService.exe\"", command);
}

TEST(ServiceCommand, AFolderThatDoesNotFitIsRefusedNotCut)
{
    char command[256];
    // 2 quotes + a folder of 232 + "\\VKPrinterService.exe" (21) = 255 characters.
    std::string folder = "C:\\" + std::string(229, 'a');
    EXPECT_TRUE(ComposeServiceCommand(command, sizeof command, folder.c_str()));
    EXPECT_EQ(255u, strlen(command));
    folder += 'a';
    EXPECT_FALSE(ComposeServiceCommand(command, sizeof command, folder.c_str()));
    EXPECT_STREQ("", command);
}

TEST(PortErrorText, ShowsTheCodeInDecimalAndHexadecimal)
{
    char text[128];
    ASSERT_TRUE(ComposePortErrorText(text, sizeof text, 1796));
    EXPECT_NE(nullptr, strstr(text, "1796"));
    EXPECT_NE(nullptr, strstr(text, "0x00000704"));
    EXPECT_NE(nullptr, strstr(text, "USB PORT:"));
    // Setup API codes have the top bit set: unsigned, never negative.
    ASSERT_TRUE(ComposePortErrorText(text, sizeof text, 0xE000020Bul));
    EXPECT_NE(nullptr, strstr(text, "3758096907"));
    EXPECT_NE(nullptr, strstr(text, "0xE000020B"));
    EXPECT_FALSE(ComposePortErrorText(text, 16, 1796));
}
