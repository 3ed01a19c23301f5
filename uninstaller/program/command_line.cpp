#include "uninstaller/program/command_line.h"

#include <string.h>
#include <wchar.h>

bool TakeLogSwitch(int& argc, wchar_t** argv, const wchar_t*& logFile)
{
    logFile = nullptr;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        if (wcsncmp(argv[i], L"/LOG=", 5) != 0) {
            argv[kept++] = argv[i];
            continue;
        }
        if (logFile || argv[i][5] == L'\0')
            return false;
        logFile = argv[i] + 5;
    }
    argc = kept;
    return true;
}

UninstallMode ChooseMode(int argc, const wchar_t* firstArgument)
{
    if (argc < 2 || !firstArgument)
        return UninstallMode::kWizard;
    if (firstArgument[0] == L'/') {
        bool silent = argc == 2 && wcscmp(firstArgument, L"/S") == 0;
        return silent ? UninstallMode::kSilentRemoval : UninstallMode::kBadCommandLine;
    }
    return argc == 2 ? UninstallMode::kCleanUpPass : UninstallMode::kFinisher;
}
