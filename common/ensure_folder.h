#pragma once

// Creates every missing level of a canonical absolute drive-letter folder
// path (CanonicalFolderText), from the root down, each with the protected
// descriptor of CreatedFolderSecurity. Every level is opened and held while
// the levels below it are checked and made. Fails, before anything is
// created below it, at a level that is a file, a junction or a link; at an
// existing level above that an ordinary user may delete, rename or
// re-permission (IsSafeLevelAbove); and at an existing folder itself that an
// ordinary user may change (IsAdminOnlyFolder). Levels created before a
// failure stay.
bool EnsureFolderPath(const char* path);

// EnsureFolderPath for the data folder, except that an existing data folder
// an administrator owns and ordinary users may only add to is taken back
// (TakeBackFolder) instead of refused: it is what every earlier installation
// left in ProgramData.
bool EnsureDataFolderPath(const char* path);

// The same checks on the levels that exist, creating nothing: true when
// EnsureFolderPath would not refuse any of them.
bool IsFolderPathUsable(const char* path);
