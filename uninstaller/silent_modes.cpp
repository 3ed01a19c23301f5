#include "uninstaller/silent_modes.h"

#include <stdlib.h>
#include <windows.h>

#include "common/install_folder.h"
#include "common/path_text.h"
#include "uninstaller/clean_up_installation.h"
#include "uninstaller/handover_checks.h"
#include "uninstaller/module_path.h"
#include "uninstaller/self_deletion.h"

void RunCleanUpPass(const char* folder)
{
    char ownFolder[kPathBufferSize];
    if (!GetOwnFolder(ownFolder, sizeof ownFolder) || !IsSameFolder(folder, ownFolder))
        return;
    TempCopy copy;
    const bool copied = CopySelfToTemp(&copy);
    CleanUpInstallation(ownFolder);
    if (copied)
        ReleaseTempCopy(&copy, RelaunchFromTemp(copy));
}

void RunFinisher(const char* processId, const char* exePath, const char* folder)
{
    // Only the installation the product key names: a finisher started by
    // hand with another folder must not delete a file of that name there.
    char programFolder[kPathBufferSize], longProgram[kPathBufferSize], longFolder[kPathBufferSize];
    if (!folder || !IsInstalledUninstaller(exePath, folder) ||
        !ReadProductKeyValue("Program Directory", programFolder, sizeof programFolder) ||
        !LongFolderPath(programFolder, longProgram, sizeof longProgram) ||
        !LongFolderPath(folder, longFolder, sizeof longFolder) || !IsSameFolder(longFolder, longProgram))
        return;
    // A process that has ended already (or id 0) cannot be opened: no wait.
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(atoi(processId)));
    if (process) {
        ::WaitForSingleObject(process, INFINITE);
        ::CloseHandle(process);
    }
    // A process's current folder cannot be removed; an inherited one might be
    // the installation folder.
    char ownFolder[kPathBufferSize];
    if (GetOwnFolder(ownFolder, sizeof ownFolder))
        ::SetCurrentDirectoryA(ownFolder);
    ::DeleteFileA(exePath);
    // Once the folder is gone, a record naming it would make a later folder
    // of that name ours to empty.
    if (IsUsableInstallFolder(folder) && ::RemoveDirectoryA(folder) && IsOwnedInstallFolder(folder))
        RecordFolderOwnership(folder, false);
    DeleteSelf();
}
