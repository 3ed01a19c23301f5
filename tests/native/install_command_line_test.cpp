#include "installer/install_command_line.h"

#include <gtest/gtest.h>

#include <string>

TEST(InstallCommandLine, ProgramPathIsSkippedQuotedOrNot)
{
    EXPECT_STREQ(SkipProgramPath("\"C:\\Down loads\\VarnekPrinterSetup.exe\"  /S"), "/S");
    EXPECT_STREQ(SkipProgramPath("VarnekPrinterSetup.exe\t/S /D=C:\\A"), "/S /D=C:\\A");
    EXPECT_STREQ(SkipProgramPath("\"C:\\setup.exe\"/S"), "/S");
    EXPECT_STREQ(SkipProgramPath("setup.exe"), "");
    EXPECT_STREQ(SkipProgramPath("\"C:\\unterminated"), "");
}

TEST(InstallCommandLine, SilentSwitchAndFinalFolder)
{
    InstallCommand command;
    ASSERT_TRUE(ParseInstallArguments("", command));
    EXPECT_FALSE(command.silent);

    ASSERT_TRUE(ParseInstallArguments("/S", command));
    EXPECT_TRUE(command.silent);
    EXPECT_FALSE(command.hasFolder);

    // The rest of the line is the folder, blanks and all; no quotes.
    ASSERT_TRUE(ParseInstallArguments("/S /D=C:\\Program Files\\Varnek 打印机  ", command));
    EXPECT_TRUE(command.silent);
    EXPECT_TRUE(command.hasFolder);
    EXPECT_STREQ(command.folder, "C:\\Program Files\\Varnek 打印机");

    // "/S" after "/D=" belongs to the folder.
    ASSERT_TRUE(ParseInstallArguments("/S /D=D:\\x /S", command));
    EXPECT_STREQ(command.folder, "D:\\x /S");

    // An empty folder is given, not absent: the folder check refuses it.
    ASSERT_TRUE(ParseInstallArguments("/S /D=", command));
    EXPECT_TRUE(command.hasFolder);
    EXPECT_STREQ(command.folder, "");
}

TEST(InstallCommandLine, AnythingElseIsRefused)
{
    InstallCommand command;
    for (const char* arguments : {"/s", "/S /X", "/SILENT", "/S/D=C:\\A", "/D=C:\\A", "\"/S\"", "/S \"/D=C:\\A\"",
                                  "C:\\A", "/S /d=C:\\A"}) {
        SCOPED_TRACE(arguments);
        EXPECT_FALSE(ParseInstallArguments(arguments, command));
    }
}

TEST(InstallCommandLine, FolderThatDoesNotFitIsRefusedNotCut)
{
    InstallCommand command;
    std::string fits = "/S /D=C:\\" + std::string(kPathBufferSize - 4, 'a');
    ASSERT_TRUE(ParseInstallArguments(fits.c_str(), command));
    EXPECT_EQ(std::string(command.folder).size(), kPathBufferSize - 1);
    std::string longer = fits + "a";
    EXPECT_FALSE(ParseInstallArguments(longer.c_str(), command));
}

TEST(InstallCommandLine, LogFileBeforeTheFolder)
{
    InstallCommand command;
    ASSERT_TRUE(ParseInstallArguments("/LOG=C:\\logs\\setup.log", command));
    EXPECT_FALSE(command.silent);
    EXPECT_STREQ(command.logFile, "C:\\logs\\setup.log");

    ASSERT_TRUE(ParseInstallArguments("/LOG=\"C:\\my logs\\setup.log\" /S /D=C:\\Program Files\\Varnek", command));
    EXPECT_TRUE(command.silent);
    EXPECT_STREQ(command.logFile, "C:\\my logs\\setup.log");
    EXPECT_STREQ(command.folder, "C:\\Program Files\\Varnek");

    // After "/D=" it is part of the folder.
    ASSERT_TRUE(ParseInstallArguments("/S /D=C:\\Varnek /LOG=x.log", command));
    EXPECT_STREQ(command.logFile, "");
    EXPECT_STREQ(command.folder, "C:\\Varnek /LOG=x.log");

    // Each run starts without the last one's log file.
    ASSERT_TRUE(ParseInstallArguments("/S", command));
    EXPECT_STREQ(command.logFile, "");

    for (const char* arguments : {"/LOG=", "/LOG=\"\"", "/LOG=\"C:\\unterminated /S", "/LOG=\"C:\\a\"b",
                                  "/LOG=a.log /LOG=b.log", "/log=a.log", "/LOG a.log"}) {
        SCOPED_TRACE(arguments);
        EXPECT_FALSE(ParseInstallArguments(arguments, command));
    }

    std::string fits = "/LOG=C:\\" + std::string(kPathBufferSize - 4, 'a');
    ASSERT_TRUE(ParseInstallArguments(fits.c_str(), command));
    EXPECT_EQ(std::string(command.logFile).size(), kPathBufferSize - 1);
    EXPECT_FALSE(ParseInstallArguments((fits + "a").c_str(), command));
}
