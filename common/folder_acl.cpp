#include "common/folder_acl.h"

#include <aclapi.h>

#include "common/folder_security.h"

namespace {

// NT SERVICE\TrustedInstaller, the owner of Windows' own folders.
SID_IDENTIFIER_AUTHORITY kNtAuthority = SECURITY_NT_AUTHORITY;
const DWORD kTrustedInstallerRids[] = {80, 956008885, 3418522649, 1831038044, 1853292631, 2271478464};

bool IsWellKnown(PSID sid, WELL_KNOWN_SID_TYPE type)
{
    BYTE buffer[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof buffer;
    return ::CreateWellKnownSid(type, nullptr, buffer, &size) && ::EqualSid(sid, buffer);
}

bool IsTrustedInstaller(PSID sid)
{
    const DWORD count = sizeof kTrustedInstallerRids / sizeof kTrustedInstallerRids[0];
    if (!::IsValidSid(sid) || *::GetSidSubAuthorityCount(sid) != count ||
        memcmp(::GetSidIdentifierAuthority(sid), &kNtAuthority, sizeof kNtAuthority) != 0)
        return false;
    for (DWORD i = 0; i < count; ++i) {
        if (*::GetSidSubAuthority(sid, i) != kTrustedInstallerRids[i])
            return false;
    }
    return true;
}

// The account of this process, when it is an administrator's: only then is
// a folder it owns as safe as one the Administrators group owns. (An object
// made by an elevated administrator gets the Administrators group as owner;
// Windows XP gave the account itself.)
bool IsOwnAdministratorAccount(PSID sid)
{
    BYTE admins[SECURITY_MAX_SID_SIZE];
    DWORD adminsSize = sizeof admins;
    BOOL member = FALSE;
    if (!::CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &adminsSize) ||
        !::CheckTokenMembership(nullptr, admins, &member) || !member)
        return false;
    HANDLE token;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return false;
    alignas(TOKEN_USER) BYTE user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD size = 0;
    bool same = ::GetTokenInformation(token, TokenUser, user, sizeof user, &size) &&
                ::EqualSid(sid, reinterpret_cast<TOKEN_USER*>(user)->User.Sid);
    ::CloseHandle(token);
    return same;
}

Trustee Classify(PSID sid)
{
    struct Known {
        WELL_KNOWN_SID_TYPE type;
        Trustee trustee;
    };
    static const Known kKnown[] = {
        {WinLocalSystemSid, Trustee::kSystem},
        {WinBuiltinAdministratorsSid, Trustee::kAdministrators},
        {WinBuiltinUsersSid, Trustee::kUsers},
        {WinAuthenticatedUserSid, Trustee::kAuthenticatedUsers},
        {WinInteractiveSid, Trustee::kInteractive},
        {WinWorldSid, Trustee::kEveryone},
    };
    for (const Known& known : kKnown) {
        if (IsWellKnown(sid, known.type))
            return known.trustee;
    }
    if (IsTrustedInstaller(sid))
        return Trustee::kTrustedInstaller;
    return IsOwnAdministratorAccount(sid) ? Trustee::kAdministratorAccount : Trustee::kOther;
}

// The plain allow and deny entries; object and callback entries name no
// file rights of their own and are skipped.
bool ReadEntries(PACL dacl, AccessEntry* entries, size_t& count)
{
    count = 0;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
        void* ace;
        if (!::GetAce(dacl, i, &ace))
            return false;
        const ACE_HEADER* header = static_cast<ACE_HEADER*>(ace);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE && header->AceType != ACCESS_DENIED_ACE_TYPE)
            continue;
        // Both ACE types share this layout.
        ACCESS_ALLOWED_ACE* entry = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        entries[count++] = {header->AceType == ACCESS_ALLOWED_ACE_TYPE, header->AceFlags, entry->Mask,
                            Classify(&entry->SidStart)};
    }
    return true;
}

}  // namespace

bool FolderMeetsRule(HANDLE folder, FolderRule rule)
{
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(folder, SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                          nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    bool meets = false;
    const size_t aceCount = dacl ? dacl->AceCount : 0;
    AccessEntry* entries = aceCount ? static_cast<AccessEntry*>(
                                          ::HeapAlloc(::GetProcessHeap(), 0, aceCount * sizeof(AccessEntry)))
                                    : nullptr;
    size_t count = 0;
    if (owner && (!aceCount || entries) && (!dacl || ReadEntries(dacl, entries, count))) {
        const FolderSecurity security = {Classify(owner), dacl != nullptr, entries, count};
        meets = rule == FolderRule::kFolder       ? IsAdminOnlyFolder(security)
                : rule == FolderRule::kMayTakeBack ? MayTakeBackFolder(security)
                                                   : IsSafeLevelAbove(security);
    }
    if (entries)
        ::HeapFree(::GetProcessHeap(), 0, entries);
    ::LocalFree(descriptor);
    return meets;
}

CreatedFolderSecurity::CreatedFolderSecurity()
{
    static const WELL_KNOWN_SID_TYPE kSidOf[] = {WinLocalSystemSid, WinBuiltinAdministratorsSid, WinBuiltinUsersSid};
    static_assert(sizeof kSidOf / sizeof kSidOf[0] == sizeof kCreatedFolderEntries / sizeof kCreatedFolderEntries[0],
                  "one SID per entry");
    PACL acl = reinterpret_cast<PACL>(m_acl);
    if (!::InitializeAcl(acl, sizeof m_acl, ACL_REVISION))
        return;
    for (size_t i = 0; i < sizeof kSidOf / sizeof kSidOf[0]; ++i) {
        BYTE sid[SECURITY_MAX_SID_SIZE];
        DWORD size = sizeof sid;
        const AccessEntry& entry = kCreatedFolderEntries[i];
        if (!::CreateWellKnownSid(kSidOf[i], nullptr, sid, &size) ||
            !::AddAccessAllowedAceEx(acl, ACL_REVISION, entry.flags, entry.mask, sid))
            return;
    }
    // Protected: nothing the parent grants (C:\ gives Authenticated Users
    // modify rights on new subfolders) is inherited.
    m_ready = ::InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION) &&
              ::SetSecurityDescriptorDacl(&m_descriptor, TRUE, acl, FALSE) &&
              ::SetSecurityDescriptorControl(&m_descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    m_attributes = {sizeof m_attributes, &m_descriptor, FALSE};
}

bool TakeBackFolder(HANDLE folder)
{
    if (!FolderMeetsRule(folder, FolderRule::kMayTakeBack))
        return false;
    CreatedFolderSecurity security;
    // The same object as the handle that was judged, never the path again.
    HANDLE writable = security.Attributes()
                          ? ::ReOpenFile(folder, READ_CONTROL | WRITE_DAC, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT)
                          : INVALID_HANDLE_VALUE;
    if (writable == INVALID_HANDLE_VALUE)
        return false;
    const bool set = ::SetKernelObjectSecurity(writable, DACL_SECURITY_INFORMATION,
                                               security.Attributes()->lpSecurityDescriptor);
    ::CloseHandle(writable);
    return set && FolderMeetsRule(folder, FolderRule::kFolder);
}
