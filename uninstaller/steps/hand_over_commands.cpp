#include "uninstaller/steps/hand_over_commands.h"

#include <string.h>

#include <initializer_list>

#include "common/folder_rules.h"
#include "common/names.h"
#include "common/path_text.h"

namespace {

char FoldAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsQuotable(const char* path)
{
    size_t length = strlen(path);
    return length > 0 && !strchr(path, '"') && LastSeparator(path) != static_cast<int>(length - 1);
}

// A lead byte of a two-byte character is never an ASCII letter, so folding
// byte by byte cannot match half a character.
bool EqualsIgnoringAsciiCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        if (FoldAscii(*a) != FoldAscii(*b))
            return false;
    }
    return *a == *b;
}

bool SameLetters(const char* a, const char* b, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i]))
            return false;
    }
    return true;
}

}  // namespace

bool IsInstalledUninstaller(const char* exePath, const char* folder)
{
    char exeFolder[kPathBufferSize];
    int separator = LastSeparator(exePath);
    return separator >= 0 && EqualsIgnoringAsciiCase(exePath + separator + 1, VARNEK_UNINSTALLER_FILE) &&
           FolderOfPath(exeFolder, sizeof exeFolder, exePath) && IsSameFolder(exeFolder, folder);
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
