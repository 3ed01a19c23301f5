#include "uninstaller/command_line.h"

#include <string.h>
#include <wchar.h>

#include "common/path_text.h"

namespace {

bool IsQuotable(const char* path)
{
    size_t length = strlen(path);
    return length > 0 && !strchr(path, '"') && LastSeparator(path) != static_cast<int>(length - 1);
}

}  // namespace

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

bool FormatRunOnceData(char* buffer, size_t size, const char* exePath, const char* folder)
{
    if (!IsQuotable(exePath) || !IsQuotable(folder)) {
        CopyText(buffer, size, "");
        return false;
    }
    return ComposePath(buffer, size, "\"%s\" \"%s\"", exePath, folder);
}

bool FormatRelaunchCommand(char* buffer, size_t size, const char* tempCopy, unsigned long processId,
                           const char* exePath, const char* folder)
{
    if (!IsQuotable(tempCopy) || !IsQuotable(exePath) || !IsQuotable(folder)) {
        CopyText(buffer, size, "");
        return false;
    }
    return ComposePath(buffer, size, "\"%s\" %lu \"%s\" \"%s\"", tempCopy, processId, exePath, folder);
}

bool FormatSelfDeleteCommand(char* buffer, size_t size, const char* interpreter, const char* exePath)
{
    if (!IsQuotable(interpreter) || !IsQuotable(exePath) || strchr(interpreter, '%') || strchr(exePath, '%')) {
        CopyText(buffer, size, "");
        return false;
    }
    // choice waits 3 seconds and answers Y by itself; by then the caller has
    // ended and its file is no longer in use.
    return ComposePath(buffer, size, "\"%s\" /C choice /C Y /N /D Y /T 3 & Del \"%s\"", interpreter, exePath);
}
