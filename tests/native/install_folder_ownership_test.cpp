// The folder rules and the ownership decisions on tables of paths. The
// Windows side (common/install_folder.cpp) only finds the system folders in
// long form and reads the record; these are the decisions it then makes.
// 8.3 names are turned into long ones before these run (GetLongPathNameA,
// shown under Wine by test_installation.py's refused folders).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/folder_rules.h"
#include "installer/installation_paths.h"

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

TEST(LinkLevels, EveryLevelBetweenTheRootAndTheItem)
{
    auto levels = [](const char* root, const char* path) {
        std::vector<std::string> seen;
        EXPECT_FALSE(AnyLevelBetween(root, path, [&](const char* level) {
            seen.emplace_back(level);
            return false;
        }));
        return seen;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ((V{"C:\\App\\a", "C:\\App\\a\\b"}), levels("C:\\App", "C:\\App\\a\\b\\file.txt"));
    EXPECT_EQ((V{"C:\\App\\a", "C:\\App\\a\\b"}), levels("c:\\app\\", "C:\\App\\a\\b\\file.txt"));
    EXPECT_EQ(V{}, levels("C:\\App", "C:\\App\\file.txt"));
    EXPECT_EQ(V{}, levels("C:\\App", "C:\\Other\\a\\file.txt"));  // not inside the root
    EXPECT_EQ(V{}, levels("C:\\App", "C:\\Apple\\a\\file.txt"));
    EXPECT_EQ((V{"C:\\a", "C:\\a\\b"}), levels("C:\\", "C:\\a\\b\\c"));
    // "\x95\x5c" is one character whose second byte is '\\': no level ends there.
    EXPECT_EQ((V{"C:\\App\\a\x95\x5c"}), levels("C:\\App", "C:\\App\\a\x95\x5c\\f"));

    // The walk stops at the first link: what lies beyond it is not reached.
    std::vector<std::string> asked;
    EXPECT_TRUE(AnyLevelBetween("C:\\App", "C:\\App\\a\\junction\\c\\file.txt", [&](const char* level) {
        asked.emplace_back(level);
        return std::string(level) == "C:\\App\\a\\junction";
    }));
    EXPECT_EQ((V{"C:\\App\\a", "C:\\App\\a\\junction"}), asked);
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
