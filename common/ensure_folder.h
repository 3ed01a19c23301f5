#pragma once

// Creates every missing level of an absolute drive-letter folder path, from
// the root down. Fails for relative, drive-relative and UNC paths, a missing
// drive, a path of 256 characters or more, or a level that cannot be created,
// exists as a file, or is a junction or symbolic link. Levels created
// before a failure stay.
bool EnsureFolderPath(const char* path);
