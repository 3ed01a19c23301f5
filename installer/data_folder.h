#pragma once

#include "common/path_text.h"

// The installer's data folder, where the settings file goes: settled when the
// user leaves the folder page, read by the worker afterwards.
extern char g_szDataDir[kPathBufferSize];

// On Windows 6.0 and later: the Windows drive + "\ProgramData\VarnekPrinter",
// created if missing; on earlier Windows: the installation folder itself.
// False when the folder cannot be created.
bool SettleDataFolder(const char* installFolder);
