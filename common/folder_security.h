// Who may change a folder the elevated programs write into: the decision
// from a folder's owner and DACL, and the DACL of the folders the installer
// makes. Portable: common/folder_acl.cpp reads and builds the descriptors;
// the rules are here, so they are tested on tables natively (Wine keeps no
// real DACL: it maps one onto the Unix mode bits).
#pragma once

#include <stddef.h>
#include <stdint.h>

// The accounts a rule tells apart. Every ordinary user's token holds Users,
// Authenticated Users, Interactive and Everyone, so what these four may do
// is what any user of the PC may do.
enum class Trustee {
    kSystem,
    kAdministrators,
    kTrustedInstaller,
    kAdministratorAccount,  // the elevated administrator running the program
    kUsers,
    kAuthenticatedUsers,
    kInteractive,
    kEveryone,
    kOther,  // any other account or group, CREATOR OWNER included
};

// ACE flags and access bits with their Windows values.
constexpr uint8_t kObjectInherit = 0x01;
constexpr uint8_t kContainerInherit = 0x02;
constexpr uint8_t kInheritOnly = 0x08;

constexpr uint32_t kAddFile = 0x0002;          // on a file: write data
constexpr uint32_t kAddSubfolder = 0x0004;     // on a file: append data
constexpr uint32_t kDeleteChild = 0x0040;
constexpr uint32_t kDelete = 0x00010000;
constexpr uint32_t kWriteDac = 0x00040000;
constexpr uint32_t kWriteOwner = 0x00080000;
constexpr uint32_t kFileAllAccess = 0x001f01ff;
constexpr uint32_t kFileReadExecute = 0x001200a9;  // what Program Files gives Users

struct AccessEntry {
    bool allow;      // else a deny entry
    uint8_t flags;   // kObjectInherit, kContainerInherit, kInheritOnly
    uint32_t mask;   // generic bits allowed; they are mapped to the file rights
    Trustee trustee;
};

struct FolderSecurity {
    Trustee owner;
    bool hasDacl;  // false: a null DACL, which lets everyone do everything
    const AccessEntry* entries;
    size_t count;
};

// The DACL the installer gives every folder it creates, protected from
// inheritance: full control for SYSTEM and Administrators, read and execute
// for Users, each inherited by files and subfolders.
extern const AccessEntry kCreatedFolderEntries[3];

// An existing installation or data folder may be used: owned by SYSTEM,
// Administrators, TrustedInstaller or the administrator running us, and no
// ordinary user may add to it, delete or rename what is inside, change its
// permissions or owner, or write what the folder passes on to new files and
// subfolders.
bool IsAdminOnlyFolder(const FolderSecurity& security);

// An existing data folder that is not admin-only may still be taken back
// (its DACL replaced by kCreatedFolderEntries) when an administrator owns it
// and ordinary users may only add to it: every folder an elevated installer
// made in ProgramData inherits ProgramData's entry that lets users create
// files and folders, so refusing it would refuse every upgrade. No ordinary
// user made such a folder, nor could delete, rename or re-permission it.
bool MayTakeBackFolder(const FolderSecurity& security);

// An existing level above such a folder may be passed: an administrator
// owns it and no ordinary user may delete, rename or re-permission it or
// delete what is inside it. Creating a subfolder of one's own (as Users may
// on a drive root) is allowed; what the level passes on by inheritance is
// judged at the level below, which holds it.
bool IsSafeLevelAbove(const FolderSecurity& security);
