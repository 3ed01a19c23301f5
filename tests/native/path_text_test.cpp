#include "common/path_text.h"

#include <gtest/gtest.h>

#include <string>

TEST(ComposePath, RefusesWhatDoesNotFitInsteadOfCuttingIt)
{
    char buffer[kPathBufferSize] = "unchanged";
    std::string folder(250, 'f');
    EXPECT_TRUE(ComposePath(buffer, sizeof buffer, "%s\\%s", "C:\\x", "a.inf"));
    EXPECT_STREQ(buffer, "C:\\x\\a.inf");

    // 250 + 1 + 4 = 255 characters fit exactly; one more does not.
    EXPECT_TRUE(ComposePath(buffer, sizeof buffer, "%s\\%s", folder.c_str(), "abcd"));
    EXPECT_EQ(std::string(buffer).size(), 255u);
    EXPECT_FALSE(ComposePath(buffer, sizeof buffer, "%s\\%s", folder.c_str(), "abcde"));
    EXPECT_STREQ(buffer, "");
}

TEST(CopyText, FitsWithItsTerminatorOrNotAtAll)
{
    char small[4];
    EXPECT_TRUE(CopyText(small, sizeof small, "abc"));
    EXPECT_STREQ(small, "abc");
    EXPECT_FALSE(CopyText(small, sizeof small, "abcd"));
    EXPECT_STREQ(small, "");
}

TEST(LastSeparator, StepsOverTwoByteCharacters)
{
    EXPECT_EQ(LastSeparator("C:\\a\\b"), 4);
    EXPECT_EQ(LastSeparator("name"), -1);
    // "\x95\x5c" is one character whose second byte equals '\\'.
    EXPECT_EQ(LastSeparator("C:\\dir\\x\x95\x5c"), 6);
    // A lead byte at the very end counts as a character of its own.
    EXPECT_EQ(LastSeparator("C:\\a\\\x95"), 4);
}

TEST(FolderOfPath, CutsAtTheLastSeparator)
{
    char folder[kPathBufferSize];
    EXPECT_TRUE(FolderOfPath(folder, sizeof folder, "C:\\Program Files\\Varnek\\Uninstaller.exe"));
    EXPECT_STREQ(folder, "C:\\Program Files\\Varnek");
    EXPECT_TRUE(FolderOfPath(folder, sizeof folder, "Uninstaller.exe"));
    EXPECT_STREQ(folder, "");
    char tiny[4];
    EXPECT_FALSE(FolderOfPath(tiny, sizeof tiny, "C:\\abc\\x"));
}
