#pragma once

#include <stddef.h>

#include "common/path_text.h"
#include "installer/install_outcome.h"

// The installer's data folder, where the settings file goes: settled when the
// user leaves the folder page, read by the worker afterwards.
extern char g_szDataDir[kPathBufferSize];

// On Windows 6.0 and later: the Windows drive + "\ProgramData\VarnekPrinter",
// created if missing; on earlier Windows: the installation folder itself.
// False when the folder cannot be created.
bool SettleDataFolder(const char* installFolder);

// The proposed installation folder: "%ProgramFiles%\VarnekPrinter" expanded.
// False (buffer empty) when it does not fit.
bool DefaultInstallFolder(char* buffer, size_t size);

// Leaving the folder page (the wizard's Next, and the silent mode): makes
// the typed folder canonical (CanonicalFolderText, then its long form) into
// folder, which every later step uses; checks it, settles the data folder,
// creates the folder, removes a pending clean-up pass of ours and records
// whether the folder is ours (decided before it was created). kFolderEmpty for an empty text; kFolderInvalid, before
// anything is created, for a folder the rules refuse, one too long for the
// paths the installation composes in it, or one reached through a junction
// or link (the data folder likewise), one an ordinary user may change
// (EnsureFolderPath), or one where a file the installation writes exists as
// a link; kInstalled when the folders are ready.
InstallOutcome PrepareInstallFolders(const char* typed, char* folder, size_t size);
