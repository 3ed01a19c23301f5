// The product table's rules: the names every program and the packer share,
// which members the architecture check judges, and the data-folder rule.
#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <set>
#include <string>

#include "common/path_text.h"
#include "common/product.h"
#include "package/package_format.h"
#include "package/package_reader.h"

TEST(ProductTable, EveryMemberIsAPlainFileNameOnce)
{
    // The reader refuses any other name, and two names Windows takes for the
    // same file would overwrite each other in the installation folder.
    std::set<std::string> names;
    for (const ProductMember& member : kProductMembers) {
        EXPECT_TRUE(IsPlainFileName(member.name, strlen(member.name))) << member.name;
        std::string folded = member.name;
        for (char& c : folded)
            c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        EXPECT_TRUE(names.insert(folded).second) << member.name;
    }
}

TEST(ProductTable, JudgesWhatWindowsOwnProcessesLoad)
{
    // The spooler loads the driver modules and the monitor library, the USB
    // stack the device driver; the programs run in processes of their own.
    std::set<std::string> judged;
    for (const ProductMember& member : kProductMembers) {
        if (member.machineCheck != MachineCheck::kNone)
            judged.insert(member.name);
    }
    EXPECT_EQ((std::set<std::string>{"VarnekRt81.dll", "VarnekUI.dll", "VarnekUni.dll", "UNIDRV.dll", "UNIDRVUI.dll",
                                     "UNIRES.DLL", "Nelvusb.sys"}),
              judged);
}

TEST(ProductTable, OnlyTheSettingsFileGoesToTheDataFolder)
{
    for (const ProductMember& member : kProductMembers)
        EXPECT_EQ(std::string(member.name) == "VarnekSetting.ini", IsSettingsEntry(member.name)) << member.name;
}

TEST(DataFolder, OnTheWindowsDriveOrNone)
{
    const struct {
        const char* windowsFolder;
        const char* expected;  // nullptr: refused
    } cases[] = {
        {"C:\\Windows", "C:\\ProgramData\\VarnekPrinter"},
        {"d:\\WINNT", "d:\\ProgramData\\VarnekPrinter"},
        {"E:", "E:\\ProgramData\\VarnekPrinter"},
        // No drive letter: a relative or network path would put the folder
        // wherever the current directory or the server says.
        {"", nullptr},
        {"\\Windows", nullptr},
        {"\\\\server\\share\\Windows", nullptr},
        {"1:\\Windows", nullptr},
        {"C", nullptr},
    };
    for (const auto& c : cases) {
        char folder[kPathBufferSize] = "stale";
        const bool composed = ComposeDataFolder(folder, sizeof folder, c.windowsFolder);
        EXPECT_EQ(c.expected != nullptr, composed) << c.windowsFolder;
        EXPECT_STREQ(c.expected ? c.expected : "", folder) << c.windowsFolder;
    }
    // A buffer it does not fit is left empty, never holding a cut path.
    char small[sizeof "C:\\ProgramData\\VarnekPrinter" - 1];
    EXPECT_FALSE(ComposeDataFolder(small, sizeof small, "C:\\Windows"));
    EXPECT_STREQ("", small);
    char exact[sizeof "C:\\ProgramData\\VarnekPrinter"];
    EXPECT_TRUE(ComposeDataFolder(exact, sizeof exact, "C:\\Windows"));
}
