#include "common/clean_up_command.h"

#include <string.h>

#include "common/folder_rules.h"
#include "common/names.h"
#include "common/path_text.h"

namespace {

// Copies the quoted text at *p into buffer and moves p past the closing
// quote; false when there is none or it does not fit.
bool TakeQuoted(const char*& p, char (&buffer)[kPathBufferSize])
{
    if (*p != '"')
        return false;
    const char* close = strchr(p + 1, '"');
    const size_t length = close ? static_cast<size_t>(close - p - 1) : 0;
    if (!close || length >= sizeof buffer)
        return false;
    memcpy(buffer, p + 1, length);
    buffer[length] = '\0';
    p = close + 1;
    return true;
}

bool IsUninstallerName(const char* name)
{
    const char expected[] = VARNEK_UNINSTALLER_FILE;
    if (strlen(name) != sizeof expected - 1)
        return false;
    for (size_t i = 0; expected[i]; ++i) {
        char c = name[i] >= 'A' && name[i] <= 'Z' ? static_cast<char>(name[i] + 32) : name[i];
        char e = expected[i] >= 'A' && expected[i] <= 'Z' ? static_cast<char>(expected[i] + 32) : expected[i];
        if (c != e)
            return false;
    }
    return true;
}

}  // namespace

bool RunsOurCleanUpPass(const char* data)
{
    char exe[kPathBufferSize], folder[kPathBufferSize], exeFolder[kPathBufferSize];
    const char* p = data;
    if (!TakeQuoted(p, exe) || *p++ != ' ' || !TakeQuoted(p, folder) || *p != '\0')
        return false;
    const int separator = LastSeparator(exe);
    return separator > 0 && IsUninstallerName(exe + separator + 1) && FolderOfPath(exeFolder, sizeof exeFolder, exe) &&
           IsValidFolderSyntax(folder) && IsSameFolder(exeFolder, folder);
}
