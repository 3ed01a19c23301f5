#include "uninstaller/command_line.h"

#include <gtest/gtest.h>

#include <string>

TEST(UninstallMode, ArgumentsChooseTheMode)
{
    // CommandLineToArgvW counts the program path; 0 when it failed.
    EXPECT_EQ(ChooseMode(0, nullptr), UninstallMode::kWizard);
    EXPECT_EQ(ChooseMode(1, nullptr), UninstallMode::kWizard);
    EXPECT_EQ(ChooseMode(2, L"C:\\Program Files\\VarnekPrinter"), UninstallMode::kCleanUpPass);
    EXPECT_EQ(ChooseMode(3, L"4242"), UninstallMode::kFinisher);  // the folder is missing
    EXPECT_EQ(ChooseMode(4, L"4242"), UninstallMode::kFinisher);
    EXPECT_EQ(ChooseMode(9, L"4242"), UninstallMode::kFinisher);  // extra arguments are ignored
}

TEST(UninstallMode, SwitchesAreNeverFolders)
{
    EXPECT_EQ(ChooseMode(2, L"/S"), UninstallMode::kSilentRemoval);
    // Neither the clean-up pass with a folder "/S" nor the finisher.
    EXPECT_EQ(ChooseMode(3, L"/S"), UninstallMode::kBadCommandLine);
    EXPECT_EQ(ChooseMode(4, L"/S"), UninstallMode::kBadCommandLine);
    for (const wchar_t* other : {L"/s", L"/SILENT", L"/", L"/S "}) {
        EXPECT_EQ(ChooseMode(2, other), UninstallMode::kBadCommandLine);
    }
}

TEST(UninstallCommandLines, PathsWithBlanksStayWhole)
{
    char buffer[kCommandLineSize];
    ASSERT_TRUE(FormatRunOnceData(buffer, sizeof buffer, "C:\\Program Files\\Varnek Printer\\Uninstaller.exe",
                                  "C:\\Program Files\\Varnek Printer"));
    EXPECT_STREQ(buffer, "\"C:\\Program Files\\Varnek Printer\\Uninstaller.exe\" \"C:\\Program Files\\Varnek Printer\"");

    ASSERT_TRUE(FormatRelaunchCommand(buffer, sizeof buffer, "C:\\Documents and Settings\\a b\\Temp\\DelA1.tmp", 4242,
                                      "C:\\Program Files\\Varnek Printer\\Uninstaller.exe",
                                      "C:\\Program Files\\Varnek Printer"));
    EXPECT_STREQ(buffer,
                 "\"C:\\Documents and Settings\\a b\\Temp\\DelA1.tmp\" 4242 "
                 "\"C:\\Program Files\\Varnek Printer\\Uninstaller.exe\" \"C:\\Program Files\\Varnek Printer\"");

    // No AutoRun (/D), the delay command by its full path, the copy's folder after it;
    // the whole quoted once more, since a command that starts with a quote loses its
    // first and last quote to the interpreter.
    ASSERT_TRUE(FormatSelfDeleteCommand(buffer, sizeof buffer, "D:\\Win Dows\\system32",
                                        "C:\\Documents and Settings\\a b\\Temp\\DelA1.tmp\\Uninstaller.exe",
                                        "C:\\Documents and Settings\\a b\\Temp\\DelA1.tmp"));
    EXPECT_STREQ(buffer,
                 "\"D:\\Win Dows\\system32\\cmd.exe\" /D /S /C \"\"D:\\Win Dows\\system32\\choice.exe\" /C Y /N /D Y /T 3 & "
                 "Del \"C:\\Documents and Settings\\a b\\Temp\\DelA1.tmp\\Uninstaller.exe\" & "
                 "Rd \"C:\\Documents and Settings\\a b\\Temp\\DelA1.tmp\"\"");
}

TEST(UninstallCommandLines, OnlyTheCopysOwnFolderIsRemovedWithIt)
{
    for (const char* folder : {"C:\\Temp\\DelA1.tmp", "C:\\a b\\Temp\\del1F2C.TMP"})
        EXPECT_TRUE(IsTempCopyFolder(folder)) << folder;
    // The temporary folder itself, or any other folder a finisher was started from.
    for (const char* folder : {"C:\\Temp", "C:\\Temp\\Del.tmp", "C:\\Temp\\Delete", "C:\\Program Files\\Varnek",
                               "Del1.tmp", "C:\\Del1.tmp\\x"})
        EXPECT_FALSE(IsTempCopyFolder(folder)) << folder;
    char buffer[kCommandLineSize];
    ASSERT_TRUE(FormatSelfDeleteCommand(buffer, sizeof buffer, "C:\\W", "C:\\Temp\\DelA1.tmp", nullptr));
    EXPECT_STREQ(buffer, "\"C:\\W\\cmd.exe\" /D /S /C \"\"C:\\W\\choice.exe\" /C Y /N /D Y /T 3 & Del \"C:\\Temp\\DelA1.tmp\"\"");
}

TEST(UninstallCommandLines, ProcessIdIsUnsignedDecimal)
{
    char buffer[kCommandLineSize];
    ASSERT_TRUE(FormatRelaunchCommand(buffer, sizeof buffer, "C:\\T\\Del1.tmp", 4294967292UL, "C:\\V\\Uninstaller.exe",
                                      "C:\\V"));
    EXPECT_STREQ(buffer, "\"C:\\T\\Del1.tmp\" 4294967292 \"C:\\V\\Uninstaller.exe\" \"C:\\V\"");
}

TEST(UninstallCommandLines, PathsThatCannotBeQuotedAreRefused)
{
    char buffer[kCommandLineSize];
    // A closing backslash would escape the quote and run the arguments together.
    EXPECT_FALSE(FormatRunOnceData(buffer, sizeof buffer, "C:\\V\\Uninstaller.exe", "C:\\V\\"));
    EXPECT_STREQ(buffer, "");
    EXPECT_FALSE(FormatRunOnceData(buffer, sizeof buffer, "C:\\V\\Unin\"staller.exe", "C:\\V"));
    EXPECT_FALSE(FormatRunOnceData(buffer, sizeof buffer, "", "C:\\V"));
    EXPECT_FALSE(FormatRelaunchCommand(buffer, sizeof buffer, "C:\\T\\", 1, "C:\\V\\Uninstaller.exe", "C:\\V"));
    EXPECT_FALSE(FormatSelfDeleteCommand(buffer, sizeof buffer, "C:\\W", "C:\\T\\a\"b.tmp", "C:\\T"));
    EXPECT_FALSE(FormatSelfDeleteCommand(buffer, sizeof buffer, "C:\\W", "C:\\T\\a.tmp", "C:\\T\\"));
    // The interpreter would expand %windir% and delete a different file.
    EXPECT_FALSE(FormatSelfDeleteCommand(buffer, sizeof buffer, "C:\\W", "C:\\T\\%windir%\\Del1.tmp", "C:\\T"));
    EXPECT_FALSE(FormatSelfDeleteCommand(buffer, sizeof buffer, "C:\\W", "C:\\T\\Del1.tmp", "C:\\%T%"));
    EXPECT_FALSE(FormatSelfDeleteCommand(buffer, sizeof buffer, "C:\\W", "C:\\T\\%x%.tmp", nullptr));
    EXPECT_STREQ(buffer, "");
    // "\x95\x5c" is one code page 936 character whose second byte is '\\':
    // the path does not end in a separator.
    EXPECT_TRUE(FormatRunOnceData(buffer, sizeof buffer, "C:\\a\x95\x5c\\Uninstaller.exe", "C:\\a\x95\x5c"));
}

TEST(UninstallCommandLines, TooLongIsRefusedNotCut)
{
    std::string longFolder = "C:\\" + std::string(250, 'x');
    std::string exe = longFolder + "\\Uninstaller.exe";
    char small[64];
    EXPECT_FALSE(FormatRunOnceData(small, sizeof small, exe.c_str(), longFolder.c_str()));
    EXPECT_STREQ(small, "");
    char buffer[kCommandLineSize];
    EXPECT_TRUE(FormatRelaunchCommand(buffer, sizeof buffer, exe.c_str(), 4294967295UL, exe.c_str(),
                                      longFolder.c_str()));
}
