#include "installer/install_command_line.h"

#include <string.h>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

const char* SkipBlanks(const char* text)
{
    while (IsBlank(*text))
        ++text;
    return text;
}

// True when text begins with token followed by a blank or the end.
bool IsToken(const char* text, const char* token)
{
    size_t length = strlen(token);
    return strncmp(text, token, length) == 0 && (text[length] == '\0' || IsBlank(text[length]));
}

// "/LOG=" at p: its file name into buffer; the position after it, or null
// when it is empty, unterminated or does not fit.
const char* ReadLogFile(const char* p, char* buffer, size_t size)
{
    const char* name = p + 5;
    const char* end;
    const char* next;
    if (*name == '"') {
        ++name;
        end = strchr(name, '"');
        if (!end || (end[1] != '\0' && !IsBlank(end[1])))
            return nullptr;
        next = end + 1;
    } else {
        end = name;
        while (*end && !IsBlank(*end))
            ++end;
        next = end;
    }
    const size_t length = static_cast<size_t>(end - name);
    if (length == 0 || length >= size)
        return nullptr;
    memcpy(buffer, name, length);
    buffer[length] = '\0';
    return next;
}

}  // namespace

const char* SkipProgramPath(const char* commandLine)
{
    const char* p = commandLine;
    // The program path has no escapes: a quoted one ends at the next quote.
    if (*p == '"') {
        const char* close = strchr(p + 1, '"');
        p = close ? close + 1 : p + strlen(p);
    } else {
        while (*p && !IsBlank(*p))
            ++p;
    }
    return SkipBlanks(p);
}

bool ParseInstallArguments(const char* arguments, InstallCommand& command)
{
    command = InstallCommand();
    const char* p = SkipBlanks(arguments);
    while (*p) {
        if (IsToken(p, "/S")) {
            command.silent = true;
            p = SkipBlanks(p + 2);
        } else if (strncmp(p, "/LOG=", 5) == 0 && !command.logFile[0]) {
            p = ReadLogFile(p, command.logFile, sizeof command.logFile);
            if (!p)
                return false;
            p = SkipBlanks(p);
        } else if (strncmp(p, "/D=", 3) == 0) {
            // The rest of the line is the folder; only trailing blanks go.
            const char* folder = p + 3;
            size_t length = strlen(folder);
            while (length > 0 && IsBlank(folder[length - 1]))
                --length;
            if (length >= sizeof command.folder)
                return false;
            memcpy(command.folder, folder, length);
            command.folder[length] = '\0';
            command.hasFolder = true;
            break;
        } else {
            return false;
        }
    }
    // The wizard asks for its folder itself.
    return command.silent || !command.hasFolder;
}
