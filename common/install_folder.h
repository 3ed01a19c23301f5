// The installation folder: which folders the installer accepts, and the
// ownership record through which the uninstaller learns whether it may empty
// the folder's whole tree (README.md, "Ownership of the installation folder").
#pragma once

#include <stddef.h>

// A folder the installer may install into: valid folder syntax; not a folder
// that is or holds a system or shared folder (a drive root, Program Files,
// ProgramData, the user's profile, Desktop, Documents, Downloads, Music,
// Pictures, Videos, application data, the temporary folder); and nothing
// inside the Windows folder, ProgramData\Microsoft, either Common Files
// folder, the Startup folders, or a user profile other than the current
// user's (Default and Public included). 8.3 names are compared in long form.
bool IsUsableInstallFolder(const char* path);

// Writes the ownership record in the product key before anything is written
// into the folder: "Owned Folder" = folder, already in long form, when ours is
// true, else the value is deleted. False when the record could not be brought to
// that state (the folder must then not be used).
bool RecordFolderOwnership(const char* folder, bool ours);

// The folder the ownership record names, or false when there is none.
bool ReadOwnedFolder(char* buffer, size_t size);

// Reads the REG_SZ value name of the product key (64-bit view); false when
// it is missing, not a string, or does not fit.
bool ReadProductKeyValue(const char* name, char* buffer, size_t size);

// Writes text as the REG_SZ value name of the product key (64-bit view),
// creating the key: 0, or the Windows error code (ERROR_FILENAME_EXCED_RANGE
// for a text over 255 characters).
unsigned long WriteProductKeyValue(const char* name, const char* text);

// The data folder of this Windows (common/product.h) in buffer, or buffer
// empty on Windows before 6.0, where the settings file lies in the
// installation folder. False when the Windows version or the Windows folder
// cannot be read or the path does not fit: no data folder is then used.
bool LocateDataFolder(char* buffer, size_t size);

// True when the record names folder (in long form), so its whole tree may be
// emptied; it must also still be a usable installation folder.
bool IsOwnedInstallFolder(const char* folder);

// The long form of path, with the part that does not exist yet appended to
// the long form of its deepest existing ancestor; false when it does not fit.
bool LongFolderPath(const char* path, char* buffer, size_t size);
