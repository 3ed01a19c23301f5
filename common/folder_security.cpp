#include "common/folder_security.h"

namespace {

constexpr uint32_t kGenericAll = 0x10000000;
constexpr uint32_t kGenericExecute = 0x20000000;
constexpr uint32_t kGenericWrite = 0x40000000;
constexpr uint32_t kGenericRead = 0x80000000;
constexpr uint32_t kFileGenericRead = 0x00120089;
constexpr uint32_t kFileGenericWrite = 0x00120116;
constexpr uint32_t kFileGenericExecute = 0x001200a0;

// Inherit-only ACEs as Windows stores them (C:\'s "Modify" for
// Authenticated Users, for one) carry generic bits.
uint32_t MapGeneric(uint32_t mask)
{
    uint32_t mapped = mask & 0x0fffffff;
    if (mask & kGenericAll)
        mapped |= kFileAllAccess;
    if (mask & kGenericRead)
        mapped |= kFileGenericRead;
    if (mask & kGenericWrite)
        mapped |= kFileGenericWrite;
    if (mask & kGenericExecute)
        mapped |= kFileGenericExecute;
    return mapped;
}

bool IsOrdinaryUser(Trustee trustee)
{
    return trustee == Trustee::kUsers || trustee == Trustee::kAuthenticatedUsers ||
           trustee == Trustee::kInteractive || trustee == Trustee::kEveryone;
}

bool IsAdministrative(Trustee trustee)
{
    return trustee == Trustee::kSystem || trustee == Trustee::kAdministrators ||
           trustee == Trustee::kTrustedInstaller || trustee == Trustee::kAdministratorAccount;
}

enum class Target { kFolderItself, kNewFile, kNewSubfolder };

bool Reaches(uint8_t flags, Target target)
{
    switch (target) {
    case Target::kFolderItself:
        return !(flags & kInheritOnly);
    case Target::kNewFile:
        return (flags & kObjectInherit) != 0;
    case Target::kNewSubfolder:
        return (flags & kContainerInherit) != 0;
    }
    return false;
}

// The rights an ordinary user's token gets on target, read in ACL order:
// the first entry that names a right, allowing or denying, decides it.
uint32_t UserRights(const FolderSecurity& security, Target target)
{
    if (!security.hasDacl)
        return kFileAllAccess;
    uint32_t granted = 0, denied = 0;
    for (size_t i = 0; i < security.count; ++i) {
        const AccessEntry& entry = security.entries[i];
        if (!IsOrdinaryUser(entry.trustee) || !Reaches(entry.flags, target))
            continue;
        uint32_t mask = MapGeneric(entry.mask);
        if (entry.allow)
            granted |= mask & ~denied;
        else
            denied |= mask & ~granted;
    }
    return granted;
}

constexpr uint32_t kChangesTheFolder = kDelete | kWriteDac | kWriteOwner;

}  // namespace

const AccessEntry kCreatedFolderEntries[3] = {
    {true, kObjectInherit | kContainerInherit, kFileAllAccess, Trustee::kSystem},
    {true, kObjectInherit | kContainerInherit, kFileAllAccess, Trustee::kAdministrators},
    {true, kObjectInherit | kContainerInherit, kFileReadExecute, Trustee::kUsers},
};

bool IsAdminOnlyFolder(const FolderSecurity& security)
{
    constexpr uint32_t kChangesWhatIsInside = kAddFile | kAddSubfolder | kDeleteChild | kChangesTheFolder;
    return IsAdministrative(security.owner) &&
           !(UserRights(security, Target::kFolderItself) & kChangesWhatIsInside) &&
           !(UserRights(security, Target::kNewFile) & kChangesWhatIsInside) &&
           !(UserRights(security, Target::kNewSubfolder) & kChangesWhatIsInside);
}

bool MayTakeBackFolder(const FolderSecurity& security)
{
    return IsAdministrative(security.owner) && !(UserRights(security, Target::kFolderItself) & kChangesTheFolder);
}

bool IsSafeLevelAbove(const FolderSecurity& security)
{
    return IsAdministrative(security.owner) &&
           !(UserRights(security, Target::kFolderItself) & (kChangesTheFolder | kDeleteChild));
}
