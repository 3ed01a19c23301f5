#include "installer/data_folder.h"

#include <windows.h>

#include "common/ensure_folder.h"

char g_szDataDir[kPathBufferSize];

bool SettleDataFolder(const char* installFolder)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ::GetVersionExA(&version);
    char windowsDir[255] = "";
    ::GetWindowsDirectoryA(windowsDir, sizeof windowsDir);

    if (version.dwMajorVersion > 5) {
        return ComposePath(g_szDataDir, sizeof g_szDataDir, "%.2s\\ProgramData\\VarnekPrinter", windowsDir) &&
               EnsureDataFolderPath(g_szDataDir);
    }
    return CopyText(g_szDataDir, sizeof g_szDataDir, installFolder);
}
