// What the removal deletes, checked here because Wine cannot show it: its
// DeleteFormW returns TRUE and stores nothing, so neither the form names nor
// the queue they are deleted through can be seen there. The Windows calls
// take these names and records as they are.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "common/label_form_table.h"
#include "common/product.h"
#include "uninstaller/steps/driver_file_removal.h"
#include "uninstaller/steps/printer_removal_rules.h"

TEST(RemovalForms, TheInstallersFormsThenTheEarlierNames)
{
    ASSERT_EQ(80u, kRemovalFormCount);
    for (size_t i = 0; i < kLabelFormCount; ++i)
        EXPECT_EQ(kLabelForms[i].name, RemovalFormName(i)) << "row " << i + 1;
    EXPECT_EQ(u"VK标牌(32X68mm)", std::u16string(RemovalFormName(0)));
    EXPECT_EQ(u"HX6400热缩管(Φ28", std::u16string(RemovalFormName(28)));
    EXPECT_EQ(u"Q70贴纸(30X15mm)", std::u16string(RemovalFormName(58)));

    // Rows 1 and 2 of the earlier names hold a blank before the second number.
    EXPECT_EQ(u"标牌(20mmX 80mm)", std::u16string(RemovalFormName(59)));
    EXPECT_EQ(u"标牌(32mmX 68mm)", std::u16string(RemovalFormName(60)));
    EXPECT_EQ(u"标牌(20mmX100mm)", std::u16string(RemovalFormName(61)));
    EXPECT_EQ(u"标牌(60mmX300mm)", std::u16string(RemovalFormName(77)));
    EXPECT_EQ(u"标牌(80mmX500mm)", std::u16string(RemovalFormName(79)));
    // 标 U+6807, 牌 U+724C: the same characters as the installer's forms.
    EXPECT_EQ((std::u16string{0x6807, 0x724C, u'(', u'7', u'0', u'm', u'm', u'X', u'3', u'0', u'0', u'm', u'm', u')'}),
              std::u16string(RemovalFormName(78)));

    std::set<std::u16string> names;
    for (size_t i = 0; i < kRemovalFormCount; ++i)
        names.insert(RemovalFormName(i));
    EXPECT_EQ(kRemovalFormCount, names.size()) << "each form is deleted once";
}

namespace {

struct Record {
    const char* pPrinterName;
    const char* pDriverName;
    const char* pServerName = nullptr;
    unsigned long Attributes = 0;
};

// (printer, with forms) for each call, in order; a connection's name is
// marked with a leading '>'.
std::vector<std::pair<std::string, bool>> Selected(const std::vector<Record>& records)
{
    std::vector<std::pair<std::string, bool>> calls;
    ForEachVarnekQueue(records.data(), records.size(), [&](const Record& r, bool withForms, bool connection) {
        calls.emplace_back(std::string(connection ? ">" : "") + r.pPrinterName, withForms);
    });
    return calls;
}

}  // namespace

TEST(QueueSelection, EveryQueueOfTheDriverFormsThroughTheFirstWhereverItStands)
{
    const std::vector<Record> records = {
        {"Office Laser", "Other Vendor Driver"},
        {"VarnekPrinter", "Varnek Printer Driver"},
        {"Label Copy", "Varnek Printer Driver"},
        {"Fax", "Fax Driver"},
        {"Third", "Varnek Printer Driver"},
    };
    EXPECT_EQ((std::vector<std::pair<std::string, bool>>{{"VarnekPrinter", true}, {"Label Copy", false},
                                                          {"Third", false}}),
              Selected(records));
}

TEST(QueueSelection, ConnectionsAreOnlyDroppedAndNeverReachTheForms)
{
    const unsigned long kLocal = 0x40, kNetwork = kNetworkPrinterAttribute;
    const std::vector<Record> records = {
        {"\\\\server\\VarnekPrinter", "Varnek Printer Driver", "\\\\server", kNetwork},
        {"\\\\other\\Labels", "Varnek Printer Driver", nullptr, kNetwork},
        {"\\\\third\\Labels", "Varnek Printer Driver", "\\\\third", 0},
        {"Office Laser", "Other Vendor Driver", "\\\\server", kNetwork},
        {"VarnekPrinter", "Varnek Printer Driver", nullptr, kLocal},
        {"Shared Here", "Varnek Printer Driver", "", kLocal | 0x08},
    };
    EXPECT_EQ((std::vector<std::pair<std::string, bool>>{{">\\\\server\\VarnekPrinter", false},
                                                          {">\\\\other\\Labels", false},
                                                          {">\\\\third\\Labels", false},
                                                          {"VarnekPrinter", true},
                                                          {"Shared Here", false}}),
              Selected(records));
    // Only connections: no queue to reach the forms through.
    EXPECT_EQ((std::vector<std::pair<std::string, bool>>{{">\\\\s\\L", false}}),
              Selected({{"\\\\s\\L", "Varnek Printer Driver", "\\\\s", kNetwork}}));
}

TEST(PortSelection, OnlyThePortOfTheMonitor)
{
    struct Port {
        const char* pPortName;
        const char* pMonitorName;
    };
    const Port ours[] = {{"LPT1:", "Local Port"}, {"USB PORT:", "Varnek Monitor"}};
    const Port foreign[] = {{"USB PORT:", "Other Monitor"}, {"USB PORT: ", "Varnek Monitor"},
                            {"usb port:", "Varnek Monitor"}, {"USB PORT:", nullptr}, {nullptr, "Varnek Monitor"}};
    EXPECT_TRUE(IsPortOfMonitor(ours, 2, "USB PORT:", "Varnek Monitor"));
    EXPECT_FALSE(IsPortOfMonitor(ours, 1, "USB PORT:", "Varnek Monitor"));
    EXPECT_FALSE(IsPortOfMonitor(foreign, sizeof foreign / sizeof foreign[0], "USB PORT:", "Varnek Monitor"));
    EXPECT_FALSE(IsPortOfMonitor(ours, 0, "USB PORT:", "Varnek Monitor"));
}

TEST(QueueSelection, OnlyTheExactDriverName)
{
    const std::vector<Record> records = {
        {"Upper", "VARNEK PRINTER DRIVER"},
        {"Lower", "varnek printer driver"},
        {"Trailing blank", "Varnek Printer Driver "},
        {"Longer", "Varnek Printer Driver 2"},
        {"Shorter", "Varnek Printer"},
        {"No driver", nullptr},
        {nullptr, "Varnek Printer Driver"},
        {"", "Varnek Printer Driver"},
    };
    // A record without a name cannot be opened; an empty name is the spooler's to refuse.
    EXPECT_EQ((std::vector<std::pair<std::string, bool>>{{"", true}}), Selected(records));
    EXPECT_TRUE(Selected({}).empty());
    EXPECT_TRUE(Selected({{"Office Laser", "Other Vendor Driver"}}).empty());
}

namespace {

std::vector<std::string> DriverFilePaths(const char* directory)
{
    std::vector<std::string> paths;
    ForEachDriverFilePath(directory, [&](const char* path) { paths.emplace_back(path); });
    return paths;
}

}  // namespace

TEST(DriverFileRemoval, TenNamesAndTheOwnFiveAlsoInVersion3)
{
    const std::string d = "C:\\Windows\\system32\\spool\\drivers\\x64";
    const std::vector<std::string> expected = {
        d + "\\VarnekUI.ini",      d + "\\3\\VarnekUI.ini",  d + "\\VarnekUI.dll",  d + "\\3\\VarnekUI.dll",
        d + "\\VarnekUni.dll",     d + "\\3\\VarnekUni.dll", d + "\\UNIRES.DLL",    d + "\\unidrv.hlp",
        d + "\\UNIDRVUI.dll",      d + "\\UNIDRV.dll",       d + "\\STDNAMES.GPD",  d + "\\VarnekPrinter.gpd",
        d + "\\3\\VarnekPrinter.gpd", d + "\\VarnekPrinter.BUD", d + "\\3\\VarnekPrinter.BUD",
    };
    EXPECT_EQ(expected, DriverFilePaths(d.c_str()));
    // The data file the driver deletion removes from "3" is one of the own files.
    EXPECT_STREQ("VarnekPrinter.gpd", MemberName(kDriverRoles.data));
}

TEST(DriverFileRemoval, PathsThatDoNotFitAreLeftOutNotCut)
{
    // 255 characters fit: "\\3\\VarnekPrinter.BUD" (20) after a 235-character directory.
    const std::string fits(235, 'd');
    std::vector<std::string> paths = DriverFilePaths(fits.c_str());
    EXPECT_EQ(fits + "\\3\\VarnekPrinter.BUD", paths.back());
    EXPECT_EQ(15u, paths.size());

    // One more: the longest two paths no longer fit and are left out whole.
    const std::string longer(236, 'd');
    paths = DriverFilePaths(longer.c_str());
    for (const std::string& path : paths) {
        EXPECT_LE(path.size(), 255u);
        EXPECT_EQ(0u, path.compare(0, longer.size() + 1, longer + "\\"));
    }
    EXPECT_EQ(13u, paths.size());
    EXPECT_EQ(longer + "\\VarnekPrinter.BUD", paths.back());
}
