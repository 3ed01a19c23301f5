#include "installer/program/install_command_line.h"

#include <gtest/gtest.h>

#include <string>

TEST(InstallCommandLine, ProgramPathIsSkippedQuotedOrNot)
{
    EXPECT_STREQ(SkipProgramPath(L"\"C:\\Down loads\\VarnekPrinterSetup.exe\"  /S"), L"/S");
    EXPECT_STREQ(SkipProgramPath(L"VarnekPrinterSetup.exe\t/S /D=C:\\A"), L"/S /D=C:\\A");
    EXPECT_STREQ(SkipProgramPath(L"\"C:\\setup.exe\"/S"), L"/S");
    EXPECT_STREQ(SkipProgramPath(L"setup.exe"), L"");
    EXPECT_STREQ(SkipProgramPath(L"\"C:\\unterminated"), L"");
    // A folder outside the ANSI code page is read whole.
    EXPECT_STREQ(SkipProgramPath(L"\"C:\\dl\U0001F600\\VarnekPrinterSetup.exe\" /S"), L"/S");
}

TEST(InstallCommandLine, SilentSwitchAndFinalFolder)
{
    InstallCommand command;
    ASSERT_TRUE(ParseInstallArguments(L"", command));
    EXPECT_FALSE(command.silent);

    ASSERT_TRUE(ParseInstallArguments(L"/S", command));
    EXPECT_TRUE(command.silent);
    EXPECT_FALSE(command.hasFolder);

    // The rest of the line is the folder, blanks and all.
    ASSERT_TRUE(ParseInstallArguments(L"/S /D=C:\\Program Files\\Varnek 打印机  ", command));
    EXPECT_TRUE(command.silent);
    EXPECT_TRUE(command.hasFolder);
    EXPECT_STREQ(command.folder, L"C:\\Program Files\\Varnek 打印机");

    // "/S" after "/D=" belongs to the folder.
    ASSERT_TRUE(ParseInstallArguments(L"/S /D=D:\\x /S", command));
    EXPECT_STREQ(command.folder, L"D:\\x /S");

    // Quoted as a whole, as deployment tools quote an argument with blanks.
    ASSERT_TRUE(ParseInstallArguments(L"/S \"/D=C:\\a b\"  ", command));
    EXPECT_STREQ(command.folder, L"C:\\a b");

    // An empty folder is given, not absent: the folder check refuses it.
    ASSERT_TRUE(ParseInstallArguments(L"/S /D=", command));
    EXPECT_TRUE(command.hasFolder);
    EXPECT_STREQ(command.folder, L"");
}

TEST(InstallCommandLine, OtherArgumentsAreIgnored)
{
    struct Row {
        const wchar_t* arguments;
        bool silent;
        const wchar_t* folder;  // null: none
    };
    const Row rows[] = {
        // A file dropped on the icon: the wizard shows.
        {L"\"C:\\Users\\me\\My Labels\\label.txt\"", false, nullptr},
        {L"C:\\label.txt", false, nullptr},
        {L"/s", false, nullptr},
        {L"/SILENT", false, nullptr},
        {L"\"/S\"", false, nullptr},
        {L"/S/D=C:\\A", false, nullptr},
        {L"/X /S", true, nullptr},
        {L"/S \"a file.txt\" /D=C:\\A", true, L"C:\\A"},
        {L"/S /d=C:\\A", true, nullptr},
        {L"/S \"unterminated", true, nullptr},
    };
    for (const Row& row : rows) {
        InstallCommand command;
        ASSERT_TRUE(ParseInstallArguments(row.arguments, command)) << row.arguments;
        EXPECT_EQ(row.silent, command.silent) << row.arguments;
        EXPECT_EQ(row.folder != nullptr, command.hasFolder) << row.arguments;
        if (row.folder) {
            EXPECT_STREQ(row.folder, command.folder) << row.arguments;
        }
    }
}

TEST(InstallCommandLine, RefusedFolders)
{
    InstallCommand command;
    for (const wchar_t* arguments : {L"/D=C:\\A", L"\"/D=C:\\A\"", L"/S \"/D=C:\\A\" /S", L"/S \"/D=C:\\A"}) {
        EXPECT_FALSE(ParseInstallArguments(arguments, command)) << arguments;
    }
}

TEST(InstallCommandLine, FolderThatDoesNotFitIsRefusedNotCut)
{
    InstallCommand command;
    for (const wchar_t* form : {L"/S /D=C:\\", L"/S \"/D=C:\\"}) {
        std::wstring fits = form + std::wstring(kPathBufferSize - 4, L'a');
        const std::wstring close = form[3] == L'"' ? L"\"" : L"";
        ASSERT_TRUE(ParseInstallArguments((fits + close).c_str(), command)) << form;
        EXPECT_EQ(std::wstring(command.folder).size(), kPathBufferSize - 1);
        EXPECT_FALSE(ParseInstallArguments((fits + L"a" + close).c_str(), command)) << form;
    }
}

TEST(InstallCommandLine, LogFileBeforeTheFolder)
{
    InstallCommand command;
    ASSERT_TRUE(ParseInstallArguments(L"/LOG=C:\\logs\\setup.log", command));
    EXPECT_FALSE(command.silent);
    EXPECT_STREQ(command.logFile, L"C:\\logs\\setup.log");

    ASSERT_TRUE(ParseInstallArguments(L"/LOG=\"C:\\my logs\\setup.log\" /S /D=C:\\Program Files\\Varnek", command));
    EXPECT_TRUE(command.silent);
    EXPECT_STREQ(command.logFile, L"C:\\my logs\\setup.log");
    EXPECT_STREQ(command.folder, L"C:\\Program Files\\Varnek");

    // After "/D=" it is part of the folder.
    ASSERT_TRUE(ParseInstallArguments(L"/S /D=C:\\Varnek /LOG=x.log", command));
    EXPECT_STREQ(command.logFile, L"");
    EXPECT_STREQ(command.folder, L"C:\\Varnek /LOG=x.log");

    // Each run starts without the last one's log file.
    ASSERT_TRUE(ParseInstallArguments(L"/S", command));
    EXPECT_STREQ(command.logFile, L"");

    // Not our switch, so ignored like any other argument: no log file named.
    for (const wchar_t* arguments : {L"/log=a.log", L"/LOG a.log"}) {
        ASSERT_TRUE(ParseInstallArguments(arguments, command));
        EXPECT_STREQ(command.logFile, L"");
    }
    for (const wchar_t* arguments : {L"/LOG=", L"/LOG=\"\"", L"/LOG=\"C:\\unterminated /S", L"/LOG=\"C:\\a\"b",
                                     L"/LOG=a.log /LOG=b.log"}) {
        EXPECT_FALSE(ParseInstallArguments(arguments, command)) << arguments;
    }

    std::wstring fits = L"/LOG=C:\\" + std::wstring(kPathBufferSize - 4, L'a');
    ASSERT_TRUE(ParseInstallArguments(fits.c_str(), command));
    EXPECT_EQ(std::wstring(command.logFile).size(), kPathBufferSize - 1);
    EXPECT_FALSE(ParseInstallArguments((fits + L"a").c_str(), command));
}
