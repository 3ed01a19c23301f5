#include "uninstaller/command_line.h"

#include <string.h>
#include <wchar.h>

#include <initializer_list>

#include "common/path_text.h"

namespace {

bool IsQuotable(const char* path)
{
    size_t length = strlen(path);
    return length > 0 && !strchr(path, '"') && LastSeparator(path) != static_cast<int>(length - 1);
}

}  // namespace

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

bool FormatRunOnceData(char* buffer, size_t size, const char* exePath, const char* folder)
{
    if (!IsQuotable(exePath) || !IsQuotable(folder)) {
        CopyText(buffer, size, "");
        return false;
    }
    return ComposePath(buffer, size, "\"%s\" \"%s\"", exePath, folder);
}

bool FormatRelaunchCommand(char* buffer, size_t size, const char* tempCopy, unsigned long processHandle,
                           const char* exePath, const char* folder)
{
    if (!IsQuotable(tempCopy) || !IsQuotable(exePath) || !IsQuotable(folder)) {
        CopyText(buffer, size, "");
        return false;
    }
    return ComposePath(buffer, size, "\"%s\" %lu \"%s\" \"%s\"", tempCopy, processHandle, exePath, folder);
}

namespace {

bool SameLetters(const char* a, const char* b, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        char x = a[i] >= 'a' && a[i] <= 'z' ? static_cast<char>(a[i] - 32) : a[i];
        char y = b[i] >= 'a' && b[i] <= 'z' ? static_cast<char>(b[i] - 32) : b[i];
        if (x != y)
            return false;
    }
    return true;
}

}  // namespace

bool IsTempCopyFolder(const char* folder)
{
    const int separator = LastSeparator(folder);
    const char* name = folder + separator + 1;
    const size_t length = strlen(name);
    return separator >= 0 && length > 7 && SameLetters(name, "DEL", 3) && SameLetters(name + length - 4, ".TMP", 4);
}

bool FormatSelfDeleteCommand(char* buffer, size_t size, const char* systemFolder, const char* exePath,
                             const char* exeFolder)
{
    for (const char* path : {systemFolder, exePath, exeFolder ? exeFolder : "-"}) {
        if (!IsQuotable(path) || strchr(path, '%')) {
            CopyText(buffer, size, "");
            return false;
        }
    }
    // choice waits 3 seconds and answers Y by itself; by then the caller has
    // ended and its file is no longer in use. The command is quoted once more
    // as a whole: /S makes the interpreter strip exactly that outer pair.
    if (!exeFolder)
        return ComposePath(buffer, size, "\"%s\\cmd.exe\" /D /S /C \"\"%s\\choice.exe\" /C Y /N /D Y /T 3 & Del \"%s\"\"",
                           systemFolder, systemFolder, exePath);
    return ComposePath(buffer, size,
                       "\"%s\\cmd.exe\" /D /S /C \"\"%s\\choice.exe\" /C Y /N /D Y /T 3 & Del \"%s\" & Rd \"%s\"\"",
                       systemFolder, systemFolder, exePath, exeFolder);
}
