#include "uninstaller/program/command_line.h"
#include "uninstaller/steps/hand_over_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

TEST(UninstallMode, LogSwitchLeavesTheModesTheirArgumentCounts)
{
    struct Case {
        std::vector<const wchar_t*> arguments;  // after the program path
        UninstallMode mode;
        const wchar_t* logFile;
    };
    const Case cases[] = {
        {{L"/LOG=C:\\u.log"}, UninstallMode::kWizard, L"C:\\u.log"},
        {{L"/S", L"/LOG=C:\\u.log"}, UninstallMode::kSilentRemoval, L"C:\\u.log"},
        {{L"/LOG=C:\\my logs\\u.log", L"/S"}, UninstallMode::kSilentRemoval, L"C:\\my logs\\u.log"},
        {{L"/S"}, UninstallMode::kSilentRemoval, nullptr},
        // The next logon's modes keep their one and three arguments.
        {{L"C:\\Program Files\\VarnekPrinter", L"/LOG=x.log"}, UninstallMode::kCleanUpPass, L"x.log"},
        {{L"1234", L"/LOG=x.log", L"C:\\VP\\Uninstaller.exe", L"C:\\VP"}, UninstallMode::kFinisher, L"x.log"},
        {{L"C:\\Program Files\\VarnekPrinter"}, UninstallMode::kCleanUpPass, nullptr},
        // Other switches stay switches.
        {{L"/log=x.log"}, UninstallMode::kBadCommandLine, nullptr},
        {{L"/S", L"/S", L"/LOG=x.log"}, UninstallMode::kBadCommandLine, L"x.log"},
    };
    for (const Case& c : cases) {
        std::vector<wchar_t*> argv = {const_cast<wchar_t*>(L"Uninstaller.exe")};
        for (const wchar_t* argument : c.arguments)
            argv.push_back(const_cast<wchar_t*>(argument));
        int argc = static_cast<int>(argv.size());
        const wchar_t* logFile = L"unset";
        ASSERT_TRUE(TakeLogSwitch(argc, argv.data(), logFile));
        EXPECT_EQ(ChooseMode(argc, argc > 1 ? argv[1] : nullptr), c.mode);
        if (c.logFile)
            EXPECT_STREQ(logFile, c.logFile);
        else
            EXPECT_EQ(logFile, nullptr);
    }

    // A log switch without a file, or two of them, is a bad command line.
    for (std::vector<const wchar_t*> arguments :
         {std::vector<const wchar_t*>{L"/LOG="}, {L"/S", L"/LOG=a.log", L"/LOG=b.log"}}) {
        std::vector<wchar_t*> argv = {const_cast<wchar_t*>(L"Uninstaller.exe")};
        for (const wchar_t* argument : arguments)
            argv.push_back(const_cast<wchar_t*>(argument));
        int argc = static_cast<int>(argv.size());
        const wchar_t* logFile = nullptr;
        EXPECT_FALSE(TakeLogSwitch(argc, argv.data(), logFile));
    }
}
