#pragma once

#include "common/path_text.h"

// The installer's data folder, where the settings file goes: settled when the
// user leaves the folder page, read by the worker afterwards.
extern char g_szDataDir[kPathBufferSize];

// The data folder of this Windows (LocateDataFolder), created if missing; on
// Windows before 6.0 the installation folder itself. False when the Windows
// version or folder cannot be read or the folder cannot be created.
bool SettleDataFolder(const char* installFolder);
