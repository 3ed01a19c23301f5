#pragma once

// A folder the installer may install into and the uninstaller may empty:
// valid folder syntax, and neither a system or shared folder nor one that
// holds such a folder (a drive root, the Windows and Program Files folders,
// ProgramData, a user profile or the profiles folder, Desktop, Documents,
// Downloads, Music, Pictures, Videos, the temporary folder).
bool IsUsableInstallFolder(const char* path);
