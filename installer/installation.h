// The installation itself, the same for the wizard and the silent mode: the
// caller has validated the folder (PrepareInstallFolders) and says through
// progress how the run is shown.
#pragma once

#include "installer/install_outcome.h"
#include "installer/install_progress.h"

// Extracts the package, then writes the product key, the Start-menu entry and
// the Programs and Features entry, installs the printing stack, writes the
// product key again and installs the service. kInstalled when all ran;
// kPortFailed when all ran but the port could not be added (already reported
// to progress); the extraction's outcome when it failed, and nothing after
// it ran.
InstallOutcome RunInstallation(const char* installFolder, InstallProgress& progress);

// True for an outcome after which the installation ran to its end.
inline bool RanToTheEnd(InstallOutcome outcome)
{
    return outcome == InstallOutcome::kInstalled || outcome == InstallOutcome::kPortFailed;
}
