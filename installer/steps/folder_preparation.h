#pragma once

#include <stddef.h>

#include "installer/steps/install_results.h"
#include "installer/steps/installation.h"

// The proposed installation folder: "%ProgramFiles%\VarnekPrinter" expanded.
// False (buffer empty) when it does not fit.
bool DefaultInstallFolder(char* buffer, size_t size);

// Leaving the folder page (the wizard's Next, and the silent mode): makes
// the typed folder canonical (CanonicalFolderText, then its long form) into
// installation.folder, which every later step uses; checks it, settles the
// data folder (Windows 6.0 and later: the Windows drive +
// "\ProgramData\VarnekPrinter", created if missing; earlier: the
// installation folder), creates the folder, removes a pending clean-up pass
// of ours, and decides and records whether the folder is ours (decided
// before it was created). kFolderEmpty for an empty text; kFolderInvalid, before
// anything is created, for a folder the rules refuse, one too long for the
// paths the installation composes in it, or one reached through a junction
// or link (the data folder likewise), one an ordinary user may change
// (EnsureFolderPath), or one where a file the installation writes exists as
// a link; kInstalled when the folders are ready.
InstallOutcome PrepareInstallation(const char* typed, Installation& installation);
