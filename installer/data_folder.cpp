#include "installer/data_folder.h"

#include "common/ensure_folder.h"
#include "common/install_folder.h"

char g_szDataDir[kPathBufferSize];

bool SettleDataFolder(const char* installFolder)
{
    if (!LocateDataFolder(g_szDataDir, sizeof g_szDataDir))
        return false;
    if (!g_szDataDir[0])
        return CopyText(g_szDataDir, sizeof g_szDataDir, installFolder);
    return EnsureDataFolderPath(g_szDataDir);
}
