// The Windows side of common/folder_security.h: reads a folder's owner and
// DACL through an open handle and builds the descriptor of the folders the
// installer creates.
#pragma once

#include <windows.h>

enum class FolderRule {
    kLevelAbove,  // IsSafeLevelAbove
    kFolder,      // IsAdminOnlyFolder: the installation or data folder itself
    kMayTakeBack, // MayTakeBackFolder
};

// Whether the folder open as handle (with READ_CONTROL) meets rule; false
// when its descriptor cannot be read.
bool FolderMeetsRule(HANDLE folder, FolderRule rule);

// Gives the folder open as handle the protected DACL of the folders we
// create when MayTakeBackFolder allows it; true when it then meets kFolder.
// The DACL is set on the folder's own handle and not passed on to what is
// inside: passing it on would walk into whatever links users left there.
bool TakeBackFolder(HANDLE folder);

// The protected descriptor of kCreatedFolderEntries, for CreateDirectory.
class CreatedFolderSecurity {
public:
    CreatedFolderSecurity();
    CreatedFolderSecurity(const CreatedFolderSecurity&) = delete;
    CreatedFolderSecurity& operator=(const CreatedFolderSecurity&) = delete;

    // Null when it could not be built: nothing may then be created.
    SECURITY_ATTRIBUTES* Attributes() { return m_ready ? &m_attributes : nullptr; }

private:
    bool m_ready = false;
    SECURITY_DESCRIPTOR m_descriptor;
    SECURITY_ATTRIBUTES m_attributes;
    // Three ACEs with SIDs of up to two sub-authorities, with room to spare.
    alignas(DWORD) BYTE m_acl[256];
};
