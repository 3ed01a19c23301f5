#include "common/folder_rules.h"

#include <gtest/gtest.h>

#include <string>

TEST(FolderSyntax, AcceptsAbsoluteDriveLetterFolders)
{
    EXPECT_TRUE(IsValidFolderSyntax("C:\\Program Files\\VarnekPrinter"));
    EXPECT_TRUE(IsValidFolderSyntax("D:\\A\\B\\C\\"));
    EXPECT_TRUE(IsValidFolderSyntax("d:/a/b"));
    // "打印机" in code page 936; "\x95\x5c" ends in the byte of '\\' yet is one character.
    EXPECT_TRUE(IsValidFolderSyntax("C:\\\xb4\xf2\xd3\xa1\xbb\xfa"));
    EXPECT_TRUE(IsValidFolderSyntax("C:\\a\x95\x5c"));
}

TEST(FolderSyntax, RefusesWhatIsNotAPlainAbsoluteFolder)
{
    const char* refused[] = {
        "",          "C:",         "C:\\",        "C:\\\\",    "C:relative", "relative\\folder",
        "\\\\server\\share\\x",    "\\\\?\\C:\\x", "1:\\x",     "C:\\a\\\\b", "C:\\a\\.\\b",
        "C:\\a\\..\\b",            "C:\\a.",      "C:\\a ",     "C:\\a\\b.\\c", "C:\\a*",
        "C:\\a?b",   "C:\\a\"b",   "C:\\a|b",     "C:\\a<b",    "C:\\a:b",    "C:\\a\tb",
    };
    for (const char* path : refused)
        EXPECT_FALSE(IsValidFolderSyntax(path)) << path;
}

TEST(FolderSyntax, LengthLimitIs255Characters)
{
    std::string path = "C:\\";
    path.append(252, 'x');
    EXPECT_TRUE(IsValidFolderSyntax(path.c_str()));  // 255 characters
    path += 'x';
    EXPECT_FALSE(IsValidFolderSyntax(path.c_str()));  // 256 would leave no room for the terminator
}

TEST(FolderContains, SameFolderAndAncestorsContain)
{
    EXPECT_TRUE(FolderContains("C:\\Windows", "C:\\WINDOWS"));
    EXPECT_TRUE(FolderContains("c:\\windows\\", "C:\\Windows"));
    EXPECT_TRUE(FolderContains("C:\\", "C:\\Windows\\System32"));
    EXPECT_TRUE(FolderContains("C:/users", "C:\\Users\\root\\Desktop"));
    EXPECT_TRUE(FolderContains("C:\\Program Files", "C:\\Program Files"));
}

TEST(FolderContains, SubfoldersAndSiblingsDoNot)
{
    EXPECT_FALSE(FolderContains("C:\\Program Files\\VarnekPrinter", "C:\\Program Files"));
    EXPECT_FALSE(FolderContains("C:\\Program", "C:\\Program Files"));
    EXPECT_FALSE(FolderContains("D:\\", "C:\\Windows"));
    // Case folding applies to ASCII letters only, never to the second byte of
    // a two-byte character ("\x95\x61" is not "\x95\x41").
    EXPECT_FALSE(FolderContains("C:\\\x95\x61", "C:\\\x95\x41"));
}
