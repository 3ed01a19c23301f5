// Which folders may be installed into and emptied again. The uninstaller
// empties the whole installation folder tree, so a folder that is, or holds,
// a system or shared folder must never be accepted.
#pragma once

// An absolute drive-letter folder ("X:\..." with at least one level) of at
// most 255 characters whose levels are plain names: not empty, not "." or
// "..", not ending in '.' or ' ', and without characters invalid in names.
// Relative, drive-relative ("X:name"), UNC and device paths fail.
bool IsValidFolderSyntax(const char* path);

// True when folder is the same folder as other or one of its ancestors.
// Separators may be '\\' or '/', letter case and trailing separators are
// ignored. Both must be absolute drive-letter paths.
bool FolderContains(const char* folder, const char* other);
