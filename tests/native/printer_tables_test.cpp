// The driver and form tables, checked here because Wine cannot show them:
// its AddFormW returns TRUE and stores nothing (EnumFormsW lists only the
// built-in forms), and it reports driver files as full paths.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <set>
#include <string>

#include "common/label_form_table.h"
#include "common/product.h"

TEST(DriverPackage, DependentFilesAreTheExactMultiString)
{
    static const char expected[] =
        "UNIDRV.dll\0UNIRES.DLL\0UNIDRVUI.dll\0VarnekPrinter.gpd\0VarnekUI.dll\0VarnekUI.ini\0"
        "VarnekUni.dll\0STDNAMES.GPD\0";
    char list[sizeof expected + 8];
    memset(list, 'x', sizeof list);
    ASSERT_TRUE(ComposeDriverDependentFiles(list, sizeof list));
    // Eight names, then the list's own terminating zero; nothing written past it.
    EXPECT_EQ(0, memcmp(expected, list, sizeof expected));
    EXPECT_EQ('x', list[sizeof expected]);

    // Exactly the room it needs is enough; one byte less is refused, not cut.
    char exact[sizeof expected];
    ASSERT_TRUE(ComposeDriverDependentFiles(exact, sizeof exact));
    EXPECT_EQ(0, memcmp(expected, exact, sizeof expected));
    char shorter[sizeof expected - 1];
    memset(shorter, 'x', sizeof shorter);
    EXPECT_FALSE(ComposeDriverDependentFiles(shorter, sizeof shorter));
    EXPECT_EQ('\0', shorter[0]);
}

TEST(DriverPackage, EveryRegisteredFileIsMovedIntoTheDriverDirectory)
{
    auto lower = [](std::string s) {
        for (char& c : s)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        return s;
    };
    std::set<std::string> moved;
    for (const DriverFile& file : kDriverFiles) {
        moved.insert(lower(DriverFileName(file)));
        // What moves into the driver directory is extracted where the move looks for it.
        EXPECT_EQ(Destination::kDriverDirectory, kProductMembers[static_cast<size_t>(file.member)].destination)
            << DriverFileName(file);
    }
    EXPECT_EQ(kDriverFileCount, moved.size());

    std::set<std::string> registered = {lower(MemberName(kDriverRoles.driver)), lower(MemberName(kDriverRoles.data)),
                                        lower(MemberName(kDriverRoles.config)), lower(MemberName(kDriverRoles.help))};
    for (Member member : kDriverDependents)
        registered.insert(lower(MemberName(member)));
    EXPECT_EQ(moved, registered);
    EXPECT_EQ(3u, kDriverVersion);
    EXPECT_STREQ("UNIDRV.dll", MemberName(kDriverRoles.driver));
    EXPECT_STREQ("VarnekPrinter.gpd", MemberName(kDriverRoles.data));
    EXPECT_STREQ("UNIDRVUI.dll", MemberName(kDriverRoles.config));
    EXPECT_STREQ("UNIDRV.HLP", MemberName(kDriverRoles.help));
}

namespace {

std::u16string Name(size_t row)
{
    return kLabelForms[row - 1].name;
}

}  // namespace

TEST(LabelForms, NamesAreTheTablesUtf16CodeUnits)
{
    // "VK标牌(32X68mm)": 标 U+6807, 牌 U+724C.
    EXPECT_EQ((std::u16string{u'V', u'K', 0x6807, 0x724C, u'(', u'3', u'2', u'X', u'6', u'8', u'm', u'm', u')'}),
              Name(1));
    // Row 29 has no closing parenthesis; "Φ" is GREEK CAPITAL LETTER PHI, not
    // a look-alike such as U+0278 or U+2205.
    EXPECT_EQ((std::u16string{u'H', u'X', u'6', u'4', u'0', u'0', 0x70ED, 0x7F29, 0x7BA1, u'(', 0x03A6, u'2',
                              u'8'}),
              Name(29));
    EXPECT_EQ(u"HX6400热缩管(Φ29)", Name(30));
    EXPECT_EQ(u"HX套管(Φ1.0)", Name(37));
    EXPECT_EQ(u"NRQ(320mm)", Name(33));
    EXPECT_EQ(u"Q70贴纸(30X15mm)", Name(59));

    std::set<std::u16string> names;
    for (const LabelForm& form : kLabelForms) {
        names.insert(form.name);
        for (const char16_t* p = form.name; *p; ++p) {
            if (*p >= 0x0370 && *p < 0x0400) {
                EXPECT_EQ(0x03A6, *p);
            }
        }
    }
    EXPECT_EQ(kLabelFormCount, names.size()) << "form names must be unique";
}

TEST(LabelForms, SizesAreTheTablesMillimetres)
{
    ASSERT_EQ(59u, kLabelFormCount);
    const struct {
        size_t row;
        int width, height;
    } spot[] = {{1, 32, 68}, {5, 54, 86}, {6, 50, 100}, {8, 12, 50}, {29, 47, 50}, {31, 50, 50}, {32, 160, 100},
                {33, 320, 100}, {34, 6, 20}, {36, 12, 20}, {37, 5, 20}, {43, 40, 20}, {47, 20, 10}, {59, 30, 15}};
    for (const auto& s : spot) {
        EXPECT_EQ(s.width, kLabelForms[s.row - 1].widthMm) << "row " << s.row;
        EXPECT_EQ(s.height, kLabelForms[s.row - 1].heightMm) << "row " << s.row;
    }
}

TEST(LabelForms, MeasuresAreThousandthsOfAMillimetreOverTheWholeSheet)
{
    for (const LabelForm& form : kLabelForms) {
        const FormMeasures m = MeasureLabelForm(form);
        EXPECT_EQ(form.widthMm * 1000L, m.width);
        EXPECT_EQ(form.heightMm * 1000L, m.height);
        EXPECT_EQ(0, m.left);
        EXPECT_EQ(0, m.top);
        EXPECT_EQ(m.width, m.right);
        EXPECT_EQ(m.height, m.bottom);
    }
    const FormMeasures widest = MeasureLabelForm(kLabelForms[32]);
    EXPECT_EQ(320000, widest.width);
    EXPECT_EQ(100000, widest.height);
}
