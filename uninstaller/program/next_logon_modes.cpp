#include "uninstaller/program/next_logon_modes.h"

#include <stdint.h>
#include <stdlib.h>
#include <windows.h>

#include "common/install_folder.h"
#include "common/path_text.h"
#include "common/product.h"
#include "common/reparse_points.h"
#include "uninstaller/steps/hand_over.h"
#include "uninstaller/steps/hand_over_commands.h"
#include "uninstaller/steps/removal.h"
#include "uninstaller/steps/system_removal.h"

void RunCleanUpPass(const char* folder)
{
    char ownFolder[kPathBufferSize];
    if (!GetOwnFolder(ownFolder, sizeof ownFolder) || !IsSameFolder(folder, ownFolder))
        return;
    // Installed again since the removal began: the installer cancels this
    // pass, but one started anyway (a copy of the value, a reinstallation
    // by an older installer) must not take the new installation. The
    // Programs and Features entry tells it: the removal that registered this
    // pass deleted it, and only an installation writes it again,
    // whereas the product key and the folder outlive a removal.
    if (IsUninstallEntryPresent())
        return;
    TempCopy copy;
    const bool copied = CopySelfToTemp(&copy);
    CleanUpInstallation(ownFolder);
    if (copied)
        ReleaseTempCopy(&copy, RelaunchFromTemp(copy));
}

namespace {

// Everything the finisher does but deleting itself; false, having done
// nothing, when its checks stop it.
bool FinishRemoval(const char* processHandle, const char* exePath, const char* folder)
{
    // Only the installation the product key names: a finisher started by
    // hand with another folder must not delete a file of that name there.
    char programFolder[kPathBufferSize], longProgram[kPathBufferSize], longFolder[kPathBufferSize];
    if (!folder || !IsInstalledUninstaller(exePath, folder) ||
        !ReadProductKeyValue(kProgramDirectoryValue, programFolder, sizeof programFolder) ||
        !LongFolderPath(programFolder, longProgram, sizeof longProgram) ||
        !LongFolderPath(folder, longFolder, sizeof longFolder) || !IsSameFolder(longFolder, longProgram))
        return false;
    // The clean-up pass's handle, inherited: it names that process even
    // after it ended. Started by hand (or with 0), the wait fails at once.
    HANDLE process = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(strtoul(processHandle, nullptr, 10)));
    if (process && ::WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0)
        ::CloseHandle(process);
    // A process's current folder cannot be removed; an inherited one might be
    // the installation folder.
    char ownFolder[kPathBufferSize];
    if (GetOwnFolder(ownFolder, sizeof ownFolder))
        ::SetCurrentDirectoryA(ownFolder);
    HeldLevels held;
    if (HoldLevelsAbove(held, exePath))
        ::DeleteFileA(exePath);
    held.Release();
    // Once the folder is gone, a record naming it would make a later folder
    // of that name ours to empty.
    if (IsUsableInstallFolder(folder) && HoldLevelsAbove(held, folder) && ::RemoveDirectoryA(folder) &&
        IsOwnedInstallFolder(folder))
        RecordFolderOwnership(folder, false);
    return true;
}

}  // namespace

void RunFinisher(const char* processHandle, const char* exePath, const char* folder)
{
    // A copy the clean-up pass made (in its Del*.tmp folder) goes whether
    // or not the checks let it act.
    char ownFolder[kPathBufferSize];
    if (FinishRemoval(processHandle, exePath, folder) ||
        (GetOwnFolder(ownFolder, sizeof ownFolder) && IsTempCopyFolder(ownFolder)))
        DeleteSelf();
}
