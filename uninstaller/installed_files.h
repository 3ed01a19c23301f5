#pragma once

// The names of the files the installer writes into an installation folder
// (every package member; the settings file lands there on Windows before
// 6.0). In a folder whose tree must not be emptied, such as a drive root or a
// shared folder, these are all the uninstaller deletes.
extern const char* const kInstalledFileNames[];
extern const int kInstalledFileCount;
