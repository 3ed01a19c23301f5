// Listing and deleting what the uninstaller removes from the file system.
#pragma once

#include <stddef.h>

#include "uninstaller/steps/removal_step.h"

// The paths a removal lists, in the order they were added.
class PathList {
public:
    PathList() = default;
    ~PathList();
    PathList(const PathList&) = delete;
    PathList& operator=(const PathList&) = delete;

    // False when memory ran out: the path is then not listed.
    bool Add(const char* path);
    int Count() const { return m_count; }
    const char* operator[](int index) const { return m_items[index]; }

private:
    char** m_items = nullptr;
    int m_count = 0;
    int m_capacity = 0;
};

// Appends the folder's contents, recursively: every subfolder to `folders`
// before anything inside it (pre-order), every file to `files` (depth first).
// The folder itself is not listed. A folder that cannot be searched adds
// nothing; a link to a folder is listed but not entered.
void ListFolderTree(const char* folder, PathList& files, PathList& folders);

// What the uninstaller deletes in an installation folder: its whole tree when
// the ownership record says the folder is ours, else only the files the
// installer puts there (the folder then goes only if nothing else is left).
void ListInstallationFolder(const char* folder, PathList& files, PathList& folders);

// The wizard's removal lists: the installation folder of the running
// executable (stored in folder).
void CollectRemovalLists(char* folder, size_t size, PathList& files, PathList& folders);

// Deletes the Start-menu shortcuts and their folders (those the installer
// creates and those of earlier versions) where they exist. Their names are
// Chinese whatever the ANSI code page, so they are reached through UTF-16.
// A shortcut or folder is kept when a level from the drive root down to
// the folder that holds it is a junction or link.
RemovalResult RemoveStartMenuEntries();

// Deletes the files in list order, then removes the folders in reverse order
// (each folder after everything inside it). An item is skipped when a level
// from the drive root down to its folder is now a junction or link. Failures are
// skipped; with a progress the position moves after every item and ends at 100.
RemovalResult DeleteListedItems(const PathList& files, const PathList& folders, RemovalProgress* progress);

// Deletes the settings file from the installer's data folder (Windows 6.0 and
// later; before that it lies in the installation folder) and removes the
// folder if nothing else is left in it. Never creates anything.
RemovalResult RemoveDataFolderSettings();
