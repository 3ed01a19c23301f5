// The folder permission rules on tables of owners and ACLs. Wine keeps no
// real DACL (it maps one onto the Unix mode bits and reads a set DACL back
// as those bits), so what Windows' own folders grant (C:\, ProgramData, a new
// volume's root) is decided here, on the ACLs Windows gives them, through the
// same functions the programs call.
#include "common/folder_security.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr uint8_t OI = kObjectInherit, CI = kContainerInherit, IO = kInheritOnly;
constexpr uint32_t kModify = 0x001301bf;
constexpr uint32_t kGenericModify = 0xe0010000;  // GENERIC_READ|WRITE|EXECUTE|DELETE, as C:\ stores it
constexpr uint32_t kAppendData = 0x00000004;    // create folders
constexpr uint32_t kWriteData = 0x00000002;     // create files

AccessEntry Allow(Trustee trustee, uint32_t mask, uint8_t flags = OI | CI)
{
    return {true, flags, mask, trustee};
}

AccessEntry Deny(Trustee trustee, uint32_t mask, uint8_t flags = OI | CI)
{
    return {false, flags, mask, trustee};
}

struct Case {
    const char* what;
    Trustee owner;
    std::vector<AccessEntry> entries;
    bool folderOk;      // IsAdminOnlyFolder
    bool levelAboveOk;  // IsSafeLevelAbove
};

const std::vector<AccessEntry> kAdminsOnly = {
    Allow(Trustee::kSystem, kFileAllAccess),
    Allow(Trustee::kAdministrators, kFileAllAccess),
    Allow(Trustee::kUsers, kFileReadExecute),
};

}  // namespace

TEST(FolderSecurity, DecidedFromOwnerAndTheRightsOfEveryUser)
{
    const Case cases[] = {
        {"Program Files", Trustee::kTrustedInstaller, kAdminsOnly, true, true},
        {"owned by SYSTEM", Trustee::kSystem, kAdminsOnly, true, true},
        {"owned by the running administrator", Trustee::kAdministratorAccount, kAdminsOnly, true, true},
        {"made in advance by a user", Trustee::kOther, kAdminsOnly, false, false},
        // C:\ on Windows 10: users may make a folder of their own, and the
        // inherit-only Modify reaches that folder, not C:\ itself.
        {"C:\\ root",
         Trustee::kTrustedInstaller,
         {Allow(Trustee::kAdministrators, kFileAllAccess), Allow(Trustee::kSystem, kFileAllAccess),
          Allow(Trustee::kUsers, kFileReadExecute), Allow(Trustee::kAuthenticatedUsers, kAppendData, 0),
          Allow(Trustee::kAuthenticatedUsers, kGenericModify, OI | CI | IO)},
         false,
         true},
        // What a folder made below C:\ without its own DACL inherits.
        {"inherits C:\\'s Modify",
         Trustee::kAdministrators,
         {Allow(Trustee::kAdministrators, kFileAllAccess), Allow(Trustee::kAuthenticatedUsers, kModify)},
         false,
         false},
        // ProgramData: users may create files and folders in it (and in
        // folders below that inherit the entry).
        {"ProgramData",
         Trustee::kSystem,
         {Allow(Trustee::kSystem, kFileAllAccess), Allow(Trustee::kAdministrators, kFileAllAccess),
          Allow(Trustee::kUsers, kFileReadExecute), Allow(Trustee::kUsers, kWriteData | kAppendData, CI)},
         false,
         true},
        // Wine's reading of a folder with "chmod o+w".
        {"Everyone may write (Wine, o+w)",
         Trustee::kAdministratorAccount,
         {Allow(Trustee::kAdministratorAccount, kFileAllAccess, 0), Allow(Trustee::kEveryone, 0x1301ff, 0)},
         false,
         false},
        {"Everyone may read (Wine, o-w)",
         Trustee::kAdministratorAccount,
         {Allow(Trustee::kAdministratorAccount, kFileAllAccess, 0), Allow(Trustee::kEveryone, 0x1200a9, 0)},
         true,
         true},
        {"Interactive may change the permissions",
         Trustee::kAdministrators,
         {Allow(Trustee::kAdministrators, kFileAllAccess), Allow(Trustee::kInteractive, kWriteDac, 0)},
         false,
         false},
        {"users may delete what is inside",
         Trustee::kAdministrators,
         {Allow(Trustee::kAdministrators, kFileAllAccess), Allow(Trustee::kUsers, kDeleteChild, 0)},
         false,
         false},
        // Files made in the folder would be writable by users.
        {"users may write new files",
         Trustee::kAdministrators,
         {Allow(Trustee::kAdministrators, kFileAllAccess), Allow(Trustee::kUsers, kWriteData, OI | IO)},
         false,
         true},
        {"generic all for Everyone, inherit only",
         Trustee::kAdministrators,
         {Allow(Trustee::kAdministrators, kFileAllAccess), Allow(Trustee::kEveryone, 0x10000000, CI | IO)},
         false,
         true},
        // The first entry that names a right decides it.
        {"a deny before the allow",
         Trustee::kAdministrators,
         {Deny(Trustee::kEveryone, kFileAllAccess & ~kFileReadExecute), Allow(Trustee::kAdministrators, kFileAllAccess),
          Allow(Trustee::kUsers, kModify)},
         true,
         true},
        {"a deny after the allow",
         Trustee::kAdministrators,
         {Allow(Trustee::kUsers, kModify), Deny(Trustee::kEveryone, kFileAllAccess & ~kFileReadExecute)},
         false,
         false},
        // Rights of one other account or group are no ordinary user's.
        {"a named account may write",
         Trustee::kAdministrators,
         {Allow(Trustee::kAdministrators, kFileAllAccess), Allow(Trustee::kOther, kModify)},
         true,
         true},
    };
    for (const Case& c : cases) {
        const FolderSecurity security = {c.owner, true, c.entries.data(), c.entries.size()};
        EXPECT_EQ(c.folderOk, IsAdminOnlyFolder(security)) << c.what;
        EXPECT_EQ(c.levelAboveOk, IsSafeLevelAbove(security)) << c.what;
    }
    // A null DACL lets everyone do everything.
    const FolderSecurity nullDacl = {Trustee::kAdministrators, false, nullptr, 0};
    EXPECT_FALSE(IsAdminOnlyFolder(nullDacl));
    EXPECT_FALSE(IsSafeLevelAbove(nullDacl));
}

TEST(FolderSecurity, TheFoldersWeCreateMeetTheirOwnRule)
{
    for (Trustee owner : {Trustee::kAdministrators, Trustee::kAdministratorAccount}) {
        const FolderSecurity created = {owner, true, kCreatedFolderEntries, 3};
        EXPECT_TRUE(IsAdminOnlyFolder(created));
    }
    // Inherited by files and subfolders alike, so nothing made inside is
    // left to whatever else the folder would pass on.
    for (const AccessEntry& entry : kCreatedFolderEntries) {
        EXPECT_TRUE(entry.allow);
        EXPECT_EQ(kObjectInherit | kContainerInherit, entry.flags);
    }
    EXPECT_EQ(Trustee::kUsers, kCreatedFolderEntries[2].trustee);
    EXPECT_EQ(kFileReadExecute, kCreatedFolderEntries[2].mask);
}

TEST(FolderSecurity, OnlyAnAdministratorsFolderUsersMayMerelyAddToIsTakenBack)
{
    // What a folder an elevated installer made in ProgramData inherits: users
    // may add files and folders to it, nothing more.
    const std::vector<AccessEntry> madeInProgramData = {
        Allow(Trustee::kSystem, kFileAllAccess), Allow(Trustee::kAdministrators, kFileAllAccess),
        Allow(Trustee::kUsers, kFileReadExecute), Allow(Trustee::kUsers, kWriteData | kAppendData, CI)};
    const std::vector<AccessEntry> everyoneModifies = {Allow(Trustee::kAdministratorAccount, kFileAllAccess, 0),
                                                       Allow(Trustee::kEveryone, 0x1301ff, 0)};
    const std::vector<AccessEntry> usersRepermission = {Allow(Trustee::kAdministrators, kFileAllAccess),
                                                        Allow(Trustee::kUsers, kWriteDac, 0)};
    struct TakeBack {
        const char* what;
        Trustee owner;
        std::vector<AccessEntry> entries;
        bool taken;
    };
    const TakeBack cases[] = {
        {"an earlier installation's, owned by Administrators", Trustee::kAdministrators, madeInProgramData, true},
        {"the same, owned by the running administrator", Trustee::kAdministratorAccount, madeInProgramData, true},
        {"the same, made in advance by a user", Trustee::kOther, madeInProgramData, false},
        {"users may delete or rename it (Wine, o+w)", Trustee::kAdministratorAccount, everyoneModifies, false},
        {"users may change its permissions", Trustee::kAdministrators, usersRepermission, false},
    };
    for (const TakeBack& c : cases) {
        const FolderSecurity security = {c.owner, true, c.entries.data(), c.entries.size()};
        EXPECT_FALSE(IsAdminOnlyFolder(security)) << c.what;
        EXPECT_EQ(c.taken, MayTakeBackFolder(security)) << c.what;
    }
    const FolderSecurity nullDacl = {Trustee::kAdministrators, false, nullptr, 0};
    EXPECT_FALSE(MayTakeBackFolder(nullDacl));
}
