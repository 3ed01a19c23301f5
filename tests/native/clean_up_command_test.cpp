#include "common/clean_up_command.h"

#include <gtest/gtest.h>

#include <string>

#include "uninstaller/steps/hand_over_commands.h"

TEST(CleanUpCommand, OnlyOurUninstallerInItsOwnFolderIsCancelled)
{
    // What the uninstaller writes is recognised.
    char data[kCommandLineSize];
    ASSERT_TRUE(FormatRunOnceData(data, sizeof data, "C:\\Program Files\\VarnekPrinter\\Uninstaller.exe",
                                  "C:\\Program Files\\VarnekPrinter"));
    EXPECT_TRUE(RunsOurCleanUpPass(data));
    EXPECT_TRUE(RunsOurCleanUpPass("\"d:\\x y\\UNINSTALLER.EXE\" \"D:\\X Y\\\""));

    const char* others[] = {
        "\"C:\\Tools\\other.exe\" \"C:\\Tools\"",                          // another program
        "\"C:\\A\\Uninstaller.exe\" \"C:\\B\"",                            // our name, another folder
        "\"C:\\A\\Uninstaller.exe\" \"C:\\A\" /extra",                     // more than ours
        "C:\\A\\Uninstaller.exe C:\\A",                                   // unquoted
        "\"C:\\A\\Uninstaller.exe\"",                                     // no folder
        "\"C:\\A\\NotUninstaller.exe\" \"C:\\A\"",
        "\"Uninstaller.exe\" \"C:\\A\"",
        "",
    };
    for (const char* other : others)
        EXPECT_FALSE(RunsOurCleanUpPass(other)) << other;
    const std::string tooLong = "\"C:\\" + std::string(300, 'a') + "\\Uninstaller.exe\" \"C:\\a\"";
    EXPECT_FALSE(RunsOurCleanUpPass(tooLong.c_str()));
}
