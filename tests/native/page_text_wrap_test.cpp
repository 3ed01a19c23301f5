// WrapText breaks the pages' code page 936 texts with the byte rule (a byte
// of 0x80 or above starts a two-byte character) and measures each candidate
// line; the page window measures and draws those lines as UTF-16. Here the
// byte rule's breaks must be the breaks of an independent line breaking of
// the UTF-16 text, for every page text of both programs, at every width.
#include "installer/program/install_pages.h"
#include "uninstaller/program/uninstall_pages.h"
#include "wizard_ui/wrap_text.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The text's characters, decoded from code page 936 by the C library.
std::u32string Decode936(const char* text, size_t length)
{
    iconv_t cd = iconv_open("UTF-32LE", "CP936");
    EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
    std::u32string out(length, U'\0');
    char* in = const_cast<char*>(text);
    char* outBytes = reinterpret_cast<char*>(&out[0]);
    size_t inLeft = length, outLeft = out.size() * sizeof(char32_t);
    const size_t result = iconv(cd, &in, &inLeft, &outBytes, &outLeft);
    iconv_close(cd);
    EXPECT_NE(result, static_cast<size_t>(-1)) << "not code page 936: " << std::string(text, length);
    out.resize(out.size() - outLeft / sizeof(char32_t));
    return out;
}

// Widths that differ from character to character, as a proportional font's:
// ASCII 5 to 11 pixels, everything else 15.
int CharWidth(char32_t c)
{
    return c < 0x80 ? 5 + static_cast<int>(c % 7) : 15;
}

int WidthOf(const std::u32string& text)
{
    int width = 0;
    for (char32_t c : text)
        width += CharWidth(c);
    return width;
}

// The page window's measurer: the narrow bytes measured as the characters they are.
int Measure936(const void*, const char* text, int length)
{
    return WidthOf(Decode936(text, static_cast<size_t>(length)));
}

// Bytes a character takes in code page 936.
int Bytes936(char32_t c)
{
    return c < 0x80 ? 1 : 2;
}

// Greedy breaking of decoded text: '\n' ends a line; a character that makes
// the line wider than maxWidth, or longer than kWrapLineBytes in code page
// 936, starts the next one unless the line is empty.
std::vector<std::u32string> WrapDecoded(const std::u32string& text, int maxWidth)
{
    std::vector<std::u32string> lines;
    std::u32string line;
    int bytes = 0;
    for (char32_t c : text) {
        if (c == U'\n') {
            lines.push_back(line);
            line.clear();
            bytes = 0;
            continue;
        }
        if (!line.empty() && (bytes + Bytes936(c) > kWrapLineBytes || WidthOf(line + c) > maxWidth)) {
            lines.push_back(line);
            line.clear();
            bytes = 0;
        }
        line += c;
        bytes += Bytes936(c);
    }
    // The last line, empty after a final '\n'.
    if (!text.empty())
        lines.push_back(line);
    return lines;
}

std::vector<std::u32string> WrapBytes(const char* text, int maxWidth)
{
    CStringArray lines;
    WrapTextLines(text, lines, maxWidth, Measure936, nullptr);
    std::vector<std::u32string> decoded;
    for (int i = 0; i < lines.GetSize(); ++i)
        decoded.push_back(Decode936(lines[i], static_cast<size_t>(lines[i].GetLength())));
    return decoded;
}

std::vector<const char*> PageTexts(const WizardPages& pages)
{
    std::vector<const char*> texts;
    for (int p = 0; p < pages.count; ++p) {
        for (const char* paragraph : pages.pages[p].paragraphs) {
            if (paragraph)
                texts.push_back(paragraph);
        }
    }
    return texts;
}

}  // namespace

TEST(PageTextWrap, ByteRuleBreaksWhereTheUtf16TextBreaks)
{
    std::vector<const char*> texts = PageTexts(g_installPages);
    for (const char* text : PageTexts(g_uninstallPages))
        texts.push_back(text);
    // Four installer pages with five paragraphs, three uninstaller pages with four.
    ASSERT_EQ(texts.size(), 9u);

    int multiLine = 0;
    for (const char* text : texts) {
        const std::u32string decoded = Decode936(text, strlen(text));
        ASSERT_FALSE(decoded.empty());
        // From narrower than one character to wider than any text; 1000000
        // leaves only the line-length bound.
        std::vector<int> widths;
        for (int w = 1; w <= 1200; ++w)
            widths.push_back(w);
        widths.push_back(1000000);
        for (int width : widths) {
            const std::vector<std::u32string> byByte = WrapBytes(text, width);
            ASSERT_EQ(byByte, WrapDecoded(decoded, width)) << "width " << width << ": " << text;
            multiLine += byByte.size() > 1;
        }
    }
    // The comparison covered real breaking, not single lines only.
    EXPECT_GT(multiLine, 1000);
}
