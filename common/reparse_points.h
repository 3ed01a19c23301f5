// "Never through a link we did not make": a junction, a symbolic link or a
// mount point leads out of the folder it stands in. These checks read the
// attributes afresh each time, so callers ask right before they create,
// write or delete.
#pragma once

// True when path exists and is a reparse point.
bool IsReparsePoint(const char* path);

// True when any existing level of the absolute path ("X:\a", "X:\a\b", ...,
// the path itself) is a reparse point.
bool HasLinkedLevel(const char* path);

// True when a level strictly between root and path (path's own folder and
// those above it, up to but not including root) is a reparse point: deleting
// path would reach through a link out of root.
bool HasLinkBelow(const char* root, const char* path);
