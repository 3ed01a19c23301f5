// The folder rules and the ownership decisions on tables of paths. The
// Windows side (common/install_folder.cpp) only finds the system folders in
// long form and reads the record; these are the decisions it then makes.
// 8.3 names are turned into long ones before these run (GetLongPathNameA,
// shown under Wine by test_installation.py's refused folders).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/folder_rules.h"
#include "installer/steps/installation_paths.h"

namespace {

// The system folders as a 64-bit Windows names them.
const char kOwnProfile[] = "C:\\Users\\Anna";
const GuardedFolder kGuarded[] = {
    {"C:\\Windows", FolderGuard::kTree, nullptr},
    {"C:\\Program Files", FolderGuard::kWhole, nullptr},
    {"C:\\Program Files (x86)", FolderGuard::kWhole, nullptr},
    {"C:\\Program Files\\Common Files", FolderGuard::kTree, nullptr},
    {"C:\\Program Files (x86)\\Common Files", FolderGuard::kTree, nullptr},
    {"C:\\ProgramData", FolderGuard::kWhole, nullptr},
    {"C:\\ProgramData\\Microsoft", FolderGuard::kTree, nullptr},
    {"C:\\Users", FolderGuard::kTree, kOwnProfile},
    {kOwnProfile, FolderGuard::kWhole, nullptr},
    {"C:\\Users\\Anna\\Documents", FolderGuard::kWhole, nullptr},
    {"", FolderGuard::kTree, nullptr},       // a folder the system did not name
    {nullptr, FolderGuard::kTree, nullptr},
};

bool Guarded(const char* folder)
{
    return IsGuardedFolder(folder, kGuarded, sizeof kGuarded / sizeof kGuarded[0]);
}

}  // namespace

TEST(FolderGuards, RefusedFolders)
{
    const char* refused[] = {
        "C:\\",                                         // holds everything
        "C:\\Windows", "c:\\windows\\", "C:/Windows/Fonts", "C:\\WINDOWS\\System32\\drivers\\etc",
        "C:\\Program Files", "C:\\Program Files\\",
        "C:\\Program Files\\Common Files", "C:\\Program Files\\Common Files\\Varnek",
        "C:\\PROGRAM FILES (X86)\\common files\\System",
        "C:\\ProgramData", "C:\\ProgramData\\Microsoft", "C:\\ProgramData\\Microsoft\\Windows\\Start Menu",
        "C:\\Users", "C:\\Users\\Other", "C:\\Users\\Other\\Apps\\Varnek", "C:\\Users\\Default\\x",
        "C:\\Users\\Public", "C:\\Users\\Public\\Documents\\Varnek",
        "C:\\Users\\Anna", "C:\\Users\\Anna\\", "C:\\Users\\Anna\\Documents",
        // Another profile whose name begins like the own one.
        "C:\\Users\\Annabel\\Varnek",
    };
    for (const char* folder : refused)
        EXPECT_TRUE(Guarded(folder)) << folder;
}

TEST(FolderGuards, AcceptedFolders)
{
    const char* accepted[] = {
        "C:\\Program Files\\VarnekPrinter", "C:\\Program Files (x86)\\VarnekPrinter\\",
        "C:\\ProgramData\\VarnekPrinter", "C:\\ProgramData\\MicrosoftX",
        "C:\\Users\\Anna\\Apps\\Varnek", "C:\\Users\\Anna\\Documents\\Work", "D:\\Data", "C:\\WindowsApps2",
        "C:\\Common Files",
    };
    for (const char* folder : accepted)
        EXPECT_FALSE(Guarded(folder)) << folder;
}

TEST(Ownership, RecordedAtTheFolderPage)
{
    struct Row {
        FolderState state;
        const char* recorded;
        bool holdsUninstaller;
        bool ours;
    };
    const char folder[] = "C:\\Program Files\\VarnekPrinter";
    const Row rows[] = {
        {FolderState::kMissing, nullptr, false, true},     // created by this installation
        {FolderState::kEmpty, nullptr, false, true},       // empty when chosen
        {FolderState::kEmpty, "D:\\Other", false, true},
        {FolderState::kHoldsEntries, nullptr, true, false},  // someone else's files
        {FolderState::kHoldsEntries, "", true, false},
        // Our earlier installation in the same folder stays ours ...
        {FolderState::kHoldsEntries, "c:\\program files\\varnekprinter\\", true, true},
        // ... but not when our uninstaller is gone from it (a stale record),
        {FolderState::kHoldsEntries, "C:\\Program Files\\VarnekPrinter", false, false},
        // nor when the record is about another folder.
        {FolderState::kHoldsEntries, "C:\\Program Files\\VarnekPrinter2", true, false},
        {FolderState::kHoldsEntries, "C:\\Program Files", true, false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.ours, IsFolderOursToRecord(row.state, folder, row.recorded, row.holdsUninstaller))
            << static_cast<int>(row.state) << " " << (row.recorded ? row.recorded : "(none)");
}

TEST(Ownership, TheUninstallerEmptiesOnlyTheRecordedFolder)
{
    struct Row {
        const char* folder;
        const char* recorded;
        bool mayEmpty;
    };
    const Row rows[] = {
        {"C:\\Program Files\\VarnekPrinter", "C:\\Program Files\\VarnekPrinter", true},
        {"C:\\PROGRAM FILES\\VARNEKPRINTER", "C:\\Program Files\\VarnekPrinter", true},
        {"C:\\Program Files\\VarnekPrinter\\", "C:/Program Files/VarnekPrinter", true},
        {"C:\\\xb4\xf2\xd3\xa1\xbb\xfa", "C:\\\xb4\xf2\xd3\xa1\xbb\xfa", true},
        {"D:\\Data", "C:\\Program Files\\VarnekPrinter", false},             // a stale key for another folder
        {"C:\\Program Files", "C:\\Program Files\\VarnekPrinter", false},    // the record's parent
        {"C:\\Program Files\\VarnekPrinter\\sub", "C:\\Program Files\\VarnekPrinter", false},
        {"Z:\\VarnekPrinter", "C:\\Program Files\\VarnekPrinter", false},    // a subst drive's alias: not ours
        {"C:\\Program Files\\VarnekPrinter", "", false},
        {"C:\\Program Files\\VarnekPrinter", nullptr, false},
        {"C:\\Program Files\\VarnekPrinter", "Program Files\\VarnekPrinter", false},  // not a full path
        {"C:\\", "C:\\", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.mayEmpty, MayEmptyFolderTree(row.folder, row.recorded))
            << row.folder << " / " << (row.recorded ? row.recorded : "(none)");
}

TEST(LinkLevels, EveryLevelFromTheDriveRootDown)
{
    auto levels = [](const char* path) {
        std::vector<std::string> seen;
        EXPECT_FALSE(AnyLevelOf(path, [&](const char* level) {
            seen.emplace_back(level);
            return false;
        }));
        return seen;
    };
    using V = std::vector<std::string>;
    // The drive root and the folder itself are levels too: a linked
    // installation folder, or a link above it, is as bad as one inside.
    EXPECT_EQ((V{"C:\\", "C:\\App", "C:\\App\\a", "C:\\App\\a\\b"}), levels("C:\\App\\a\\b"));
    EXPECT_EQ((V{"C:\\", "C:\\App"}), levels("C:\\App\\"));
    EXPECT_EQ((V{"D:\\"}), levels("D:\\"));
    // "\x95\x5c" is one character whose second byte is '\\': no level ends
    // inside it, and a path ending in it still reaches its last level.
    EXPECT_EQ((V{"C:\\", "C:\\a\x95\x5c", "C:\\a\x95\x5c\\f"}), levels("C:\\a\x95\x5c\\f"));
    EXPECT_EQ((V{"C:\\", "C:\\\xb4\xf2"}), levels("C:\\\xb4\xf2"));
    // Only canonical drive paths have levels.
    EXPECT_EQ(V{}, levels("C:/App/a"));
    EXPECT_EQ(V{}, levels("\\\\server\\share\\a"));

    // The walk stops at the first link: what lies beyond it is not reached.
    std::vector<std::string> asked;
    EXPECT_TRUE(AnyLevelOf("C:\\App\\junction\\c\\file.txt", [&](const char* level) {
        asked.emplace_back(level);
        return std::string(level) == "C:\\App\\junction";
    }));
    EXPECT_EQ((V{"C:\\", "C:\\App", "C:\\App\\junction"}), asked);
}

TEST(CanonicalFolder, OneFormForEveryCheckAndStep)
{
    struct Row {
        const char* typed;
        const char* canonical;  // null: refused
    };
    const Row rows[] = {
        {"C:\\Varnek", "C:\\Varnek"},
        // A '/' split no level for the link checks, yet Windows follows it.
        {"C:\\lnk/B", "C:\\lnk\\B"},
        {"C:/a/b/", "C:\\a\\b"},
        {"D:\\Label Printers\\Varnek\\\\", nullptr},  // an empty level
        {"C:\\a\\b\\", "C:\\a\\b"},
        // "\x95\x5c" ends in the byte of '\\': it is no trailing separator.
        {"C:\\a\x95\x5c", "C:\\a\x95\x5c"},
        {"C:\\a\x95\x5c\\", "C:\\a\x95\x5c"},
        // The service manager expands '%' in the image path.
        {"C:\\%windir%\\x", nullptr},
        {"C:\\100%", nullptr},
        {"C:\\", nullptr},
        {"relative\\x", nullptr},
        {"C:\\a\\..\\b", nullptr},
    };
    for (const Row& row : rows) {
        char buffer[kPathBufferSize] = "stale";
        bool made = CanonicalFolderText(row.typed, buffer, sizeof buffer);
        EXPECT_EQ(row.canonical != nullptr, made) << row.typed;
        EXPECT_STREQ(row.canonical ? row.canonical : "", buffer) << row.typed;
    }
    char small[8];
    EXPECT_FALSE(CanonicalFolderText("C:\\abcdefgh", small, sizeof small));  // refused, never cut
}

TEST(InstallationPaths, TheQuotedServiceCommandIsTheLongest)
{
    // "<folder>\VKPrinterService.exe" in quotes takes 23 characters more.
    std::string folder = "C:\\";
    folder.append(229, 'x');  // 232 characters
    EXPECT_TRUE(FitsInstallationPaths(folder.c_str()));
    folder += 'x';
    EXPECT_FALSE(FitsInstallationPaths(folder.c_str()));
    folder.append(22, 'x');  // 255 characters: a valid folder, too long to install into
    EXPECT_TRUE(IsValidFolderSyntax(folder.c_str()));
    EXPECT_FALSE(FitsInstallationPaths(folder.c_str()));
}
