#include "uninstaller/steps/hand_over_commands.h"

#include <gtest/gtest.h>

TEST(HandoverChecks, SameFolderIgnoresCaseSeparatorsAndTrailingSeparator)
{
    EXPECT_TRUE(IsSameFolder("C:\\Program Files\\VarnekPrinter", "c:/program files/varnekprinter\\"));
    EXPECT_TRUE(IsSameFolder("C:\\", "C:"));
    EXPECT_FALSE(IsSameFolder("C:\\Program Files", "C:\\Program Files\\VarnekPrinter"));
    EXPECT_FALSE(IsSameFolder("C:\\Program Files\\VarnekPrinter", "C:\\Program Files"));
    EXPECT_FALSE(IsSameFolder("C:\\Program Files\\VarnekPrinter", "C:\\Program Files\\VarnekPrinter2"));
    EXPECT_FALSE(IsSameFolder("C:\\Program Files\\VarnekPrinter", ""));
}

TEST(HandoverChecks, FinisherDeletesOnlyTheUninstallerInItsFolder)
{
    EXPECT_TRUE(IsInstalledUninstaller("C:\\Program Files\\Varnek Printer\\Uninstaller.exe",
                                       "C:\\Program Files\\Varnek Printer"));
    EXPECT_TRUE(IsInstalledUninstaller("C:\\V\\UNINSTALLER.EXE", "c:\\v\\"));
    EXPECT_TRUE(IsInstalledUninstaller("C:\\Uninstaller.exe", "C:"));

    EXPECT_FALSE(IsInstalledUninstaller("C:\\V\\Brevlet.exe", "C:\\V"));
    EXPECT_FALSE(IsInstalledUninstaller("C:\\V\\Uninstaller.exe.bak", "C:\\V"));
    EXPECT_FALSE(IsInstalledUninstaller("C:\\V\\xUninstaller.exe", "C:\\V"));
    EXPECT_FALSE(IsInstalledUninstaller("C:\\V\\sub\\Uninstaller.exe", "C:\\V"));
    EXPECT_FALSE(IsInstalledUninstaller("C:\\Uninstaller.exe", "C:\\V"));
    EXPECT_FALSE(IsInstalledUninstaller("C:\\W\\Uninstaller.exe", "C:\\V"));
    EXPECT_FALSE(IsInstalledUninstaller("Uninstaller.exe", "C:\\V"));
    EXPECT_FALSE(IsInstalledUninstaller("C:\\V\\", "C:\\V"));
}

TEST(HandoverChecks, TwoByteCharactersAreNotSplit)
{
    // "\x95\x5c" is one character ending in the byte of '\\': the file is
    // "\x95\x5cUninstaller.exe" in C:\V, not Uninstaller.exe in "C:\V\x95".
    EXPECT_FALSE(IsInstalledUninstaller("C:\\V\\\x95\x5cUninstaller.exe", "C:\\V\\\x95"));
    EXPECT_TRUE(IsInstalledUninstaller("C:\\V\x95\x5c\\Uninstaller.exe", "C:\\V\x95\x5c"));
}
