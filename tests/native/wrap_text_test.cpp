#include "wizard_ui/wrap_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A fixed-pitch measurer: one-byte characters are 10 pixels wide, two-byte
// characters 20. A lead byte that ends the measured bytes counts as one
// byte, so a split pair shows up as a wrong width.
int MeasureFixed(const void*, const char* text, int length)
{
    int width = 0;
    for (int i = 0; i < length; ++i) {
        if (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < length)
            ++i, width += 10;
        width += 10;
    }
    return width;
}

std::vector<std::string> Wrap(const std::string& text, int maxWidth)
{
    CStringArray lines;
    WrapTextLines(text.c_str(), lines, maxWidth, MeasureFixed, nullptr);
    std::vector<std::string> result;
    for (int i = 0; i < lines.GetSize(); ++i)
        result.emplace_back(lines[i]);
    return result;
}

using Lines = std::vector<std::string>;

// "中" and "文" in code page 936.
const std::string kZhong = "\xd6\xd0";
const std::string kWen = "\xce\xc4";

}  // namespace

TEST(WrapText, LineBreaksMakeLinesAndAreNotPartOfThem)
{
    EXPECT_EQ(Wrap("", 100), Lines{});
    EXPECT_EQ(Wrap("a\n\nb", 100), (Lines{"a", "", "b"}));
    EXPECT_EQ(Wrap("ab\n", 100), (Lines{"ab", ""}));
    EXPECT_EQ(Wrap("\n", 100), (Lines{"", ""}));
    // The uninstaller's success text: eight breaks, eight further lines.
    EXPECT_EQ(Wrap("ok \n\n\n\n\n\n\n\n", 100).size(), 9u);
}

TEST(WrapText, BreaksGreedilyAtAnyCharacter)
{
    EXPECT_EQ(Wrap("ABCDEFGHIJ", 40), (Lines{"ABCD", "EFGH", "IJ"}));
    // No word boundaries and no trimming of blanks.
    EXPECT_EQ(Wrap("ab cd ef", 30), (Lines{"ab ", "cd ", "ef"}));
}

TEST(WrapText, ALineExactlyAsWideAsTheLimitFits)
{
    EXPECT_EQ(Wrap("ABCD", 40), (Lines{"ABCD"}));
    EXPECT_EQ(Wrap("ABCD", 39), (Lines{"ABC", "D"}));
    EXPECT_EQ(Wrap("AB" + kZhong, 40), (Lines{"AB" + kZhong}));
}

TEST(WrapText, CharacterOverflowingBeforeABreakFormsItsOwnLine)
{
    // Four of five equal letters fit: the fifth is a line of its own.
    EXPECT_EQ(Wrap("ABCDE\nF", 40), (Lines{"ABCD", "E", "F"}));
}

TEST(WrapText, TwoByteCharacterIsNeverSplit)
{
    EXPECT_EQ(Wrap("abc" + kZhong, 40), (Lines{"abc", kZhong}));
    EXPECT_EQ(Wrap(kZhong + kWen + kZhong + "x", 40), (Lines{kZhong + kWen, kZhong + "x"}));
    EXPECT_EQ(Wrap("a" + kZhong + kWen + kZhong, 30), (Lines{"a" + kZhong, kWen, kZhong}));
}

TEST(WrapText, WidthNarrowerThanACharacterPutsOneCharacterOnEachLine)
{
    EXPECT_EQ(Wrap("AB" + kZhong, 0), (Lines{"A", "B", kZhong}));
    EXPECT_EQ(Wrap(kZhong + "A" + kWen, 15), (Lines{kZhong, "A", kWen}));
    // Holds one letter but never two: no empty lines in between.
    EXPECT_EQ(Wrap("ABC", 10), (Lines{"A", "B", "C"}));
    EXPECT_EQ(Wrap("A\n" + kZhong + "B", -5), (Lines{"A", kZhong, "B"}));
}

TEST(WrapText, LeadByteEndingTheTextIsOneCharacter)
{
    EXPECT_EQ(Wrap("ab\xb0", 100), (Lines{"ab\xb0"}));
    EXPECT_EQ(Wrap("ab\xb0", 20), (Lines{"ab", "\xb0"}));
    EXPECT_EQ(Wrap("\xb0", 0), (Lines{"\xb0"}));
}

TEST(WrapText, LinesLongerThanTheBufferBreakWithoutLosingText)
{
    std::string text(600, 'x');
    EXPECT_EQ(Wrap(text, 1 << 30), (Lines{std::string(255, 'x'), std::string(255, 'x'), std::string(90, 'x')}));

    // A pair that would straddle byte 255 moves whole to the next line.
    std::string wide = "a";
    for (int i = 0; i < 200; ++i)
        wide += kZhong;
    Lines lines = Wrap(wide, 1 << 30);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 255u);
    EXPECT_EQ(lines[0] + lines[1], wide);
    EXPECT_EQ(lines[1].substr(0, 2), kZhong);

    // Exactly 255 bytes, then a break.
    EXPECT_EQ(Wrap(std::string(255, 'x') + "\ny", 1 << 30), (Lines{std::string(255, 'x'), "y"}));

    // 255 fitting bytes, a lead byte, a break: the lead byte is the 256th
    // byte and starts its own line (it once overran the line buffer; ASan).
    EXPECT_EQ(Wrap(std::string(255, 'x') + "\xb1\ny", 1 << 30), (Lines{std::string(255, 'x'), "\xb1", "y"}));
    EXPECT_EQ(Wrap(std::string(254, 'x') + "\xb1\ny", 1 << 30), (Lines{std::string(254, 'x') + "\xb1", "y"}));
}
