#include "uninstaller/handover_checks.h"

#include "common/folder_rules.h"
#include "common/names.h"
#include "common/path_text.h"

namespace {

char FoldAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
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

}  // namespace

bool IsInstalledUninstaller(const char* exePath, const char* folder)
{
    char exeFolder[kPathBufferSize];
    int separator = LastSeparator(exePath);
    return separator >= 0 && EqualsIgnoringAsciiCase(exePath + separator + 1, VARNEK_UNINSTALLER_FILE) &&
           FolderOfPath(exeFolder, sizeof exeFolder, exePath) && IsSameFolder(exeFolder, folder);
}
