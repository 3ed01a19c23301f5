#pragma once

// The names of the files the installer writes into an installation folder
// (every package member; the settings file lands there on Windows before
// 6.0). In a folder that is not ours these are all the uninstaller deletes;
// the installer sizes the folder for the longest of them.
extern const char* const kInstalledFileNames[];
extern const int kInstalledFileCount;
