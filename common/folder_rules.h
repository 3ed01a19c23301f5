// Which folders may be installed into, and which installation folder is
// ours to empty again. Portable: the Windows side (common/install_folder.cpp)
// finds the system folders and reads the record; the decisions are here.
#pragma once

#include <stddef.h>
#include <string.h>

#include "common/dbcs.h"
#include "common/path_text.h"

// An absolute drive-letter folder ("X:\..." with at least one level) of at
// most 255 characters whose levels are plain names: not empty, not "." or
// "..", not ending in '.' or ' ', and without characters invalid in names.
// Relative, drive-relative ("X:name"), UNC and device paths fail.
bool IsValidFolderSyntax(const char* path);

// True when folder is the same folder as other or one of its ancestors.
// Separators may be '\\' or '/', letter case and trailing separators are
// ignored. Both must be absolute drive-letter paths.
bool FolderContains(const char* folder, const char* other);

// True when both name the same folder (ASCII letter case, '/' or '\\' and
// trailing separators aside).
bool IsSameFolder(const char* folder, const char* other);

// How a system or shared folder is guarded against installation.
enum class FolderGuard {
    kWhole,  // neither the folder nor one that holds it; a folder inside is fine
    kTree,   // nor anything inside it either
};

struct GuardedFolder {
    const char* path;    // long form; empty or null entries are skipped
    FolderGuard guard;
    const char* except;  // kTree only: a folder inside whose own tree is allowed, or null
};

// True when folder (long form) is refused by any entry.
bool IsGuardedFolder(const char* folder, const GuardedFolder* guarded, size_t count);

// What the folder page found where the installation folder is to be.
enum class FolderState { kMissing, kEmpty, kHoldsEntries };

// Whether the installation may count the folder as its own, and so empty its
// whole tree at removal: it is created now or empty when chosen, or it is
// the folder the record already names and holds our uninstaller (an
// installation over our own). recorded may be null or empty.
bool IsFolderOursToRecord(FolderState state, const char* folder, const char* recorded, bool holdsUninstaller);

// Whether the uninstaller may empty folder's whole tree: only when the
// ownership record names that very folder. A record about another folder
// (a stale one, or one of another installation) never counts.
bool MayEmptyFolderTree(const char* folder, const char* recorded);

// The canonical text of a folder the user typed: valid folder syntax
// (IsValidFolderSyntax), '/' turned into '\\' and trailing separators
// dropped, so that every later check and step splits the same levels. A
// '%' is refused: the service manager would expand it in the service's
// image path. False (buffer empty) otherwise. The long form is
// LongFolderPath's (common/install_folder.h), taken of this text.
bool CanonicalFolderText(const char* path, char* buffer, size_t size);

// Calls visit(level) for every level of the absolute drive-letter path
// "X:\\a\\b", from the top down: "X:\\", "X:\\a", "X:\\a\\b"; stops and
// returns true at the first visit that returns true. Only '\\' separates
// (the path is canonical); a trailing one ends no level.
template <class Visit>
bool AnyLevelOf(const char* path, Visit visit)
{
    const size_t length = strlen(path);
    if (length < 3 || path[1] != ':' || path[2] != '\\' || length >= kPathBufferSize)
        return false;
    char level[kPathBufferSize];
    memcpy(level, path, 3);
    level[3] = '\0';
    if (visit(static_cast<const char*>(level)))
        return true;
    bool trailing = false;
    for (const char* p = path + 3; *p; p = NextChar(p)) {
        trailing = *p == '\\';
        const size_t end = static_cast<size_t>(p - path);
        if (!trailing || end <= 3)
            continue;
        memcpy(level, path, end);
        level[end] = '\0';
        if (visit(static_cast<const char*>(level)))
            return true;
    }
    if (length > 3 && !trailing && visit(path))
        return true;
    return false;
}
