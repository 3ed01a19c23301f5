#include "installer/program/install_command_line.h"

#include <string.h>

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

const wchar_t* SkipBlanks(const wchar_t* text)
{
    while (IsBlank(*text))
        ++text;
    return text;
}

// True when text begins with token followed by a blank or the end.
bool IsToken(const wchar_t* text, const wchar_t* token)
{
    size_t length = wcslen(token);
    return wcsncmp(text, token, length) == 0 && (text[length] == L'\0' || IsBlank(text[length]));
}

// The end of the argument at text: past its closing quote when it starts
// with one, else at the first blank.
const wchar_t* SkipArgument(const wchar_t* text)
{
    if (*text == L'"') {
        const wchar_t* close = wcschr(text + 1, L'"');
        return close ? close + 1 : text + wcslen(text);
    }
    while (*text && !IsBlank(*text))
        ++text;
    return text;
}

bool TakeFolder(const wchar_t* folder, size_t length, InstallCommand& command)
{
    if (length >= sizeof command.folder / sizeof command.folder[0])
        return false;
    wmemcpy(command.folder, folder, length);
    command.folder[length] = L'\0';
    command.hasFolder = true;
    return true;
}

// "/LOG=" at p: its file name into buffer; the position after it, or null
// when it is empty, unterminated or does not fit.
const wchar_t* ReadLogFile(const wchar_t* p, wchar_t* buffer, size_t size)
{
    const wchar_t* name = p + 5;
    const wchar_t* end;
    const wchar_t* next;
    if (*name == L'"') {
        ++name;
        end = wcschr(name, L'"');
        if (!end || (end[1] != L'\0' && !IsBlank(end[1])))
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
    wmemcpy(buffer, name, length);
    buffer[length] = L'\0';
    return next;
}

}  // namespace

const wchar_t* SkipProgramPath(const wchar_t* commandLine)
{
    // The program path has no escapes: a quoted one ends at the next quote.
    return SkipBlanks(SkipArgument(commandLine));
}

bool ParseInstallArguments(const wchar_t* arguments, InstallCommand& command)
{
    command = {};
    const wchar_t* p = SkipBlanks(arguments);
    while (*p) {
        if (IsToken(p, L"/S")) {
            command.silent = true;
            p = SkipBlanks(p + 2);
        } else if (wcsncmp(p, L"/LOG=", 5) == 0) {
            if (command.logFile[0])
                return false;
            p = ReadLogFile(p, command.logFile, sizeof command.logFile / sizeof command.logFile[0]);
            if (!p)
                return false;
            p = SkipBlanks(p);
        } else if (wcsncmp(p, L"/D=", 3) == 0) {
            // The rest of the line is the folder; only trailing blanks go.
            const wchar_t* folder = p + 3;
            size_t length = wcslen(folder);
            while (length > 0 && IsBlank(folder[length - 1]))
                --length;
            if (!TakeFolder(folder, length, command))
                return false;
            break;
        } else if (wcsncmp(p, L"\"/D=", 4) == 0) {
            const wchar_t* folder = p + 4;
            const wchar_t* close = wcschr(folder, L'"');
            // Still the last argument: nothing but blanks may follow.
            if (!close || *SkipBlanks(close + 1) || !TakeFolder(folder, static_cast<size_t>(close - folder), command))
                return false;
            break;
        } else {
            p = SkipBlanks(SkipArgument(p));
        }
    }
    // The wizard asks for its folder itself.
    return command.silent || !command.hasFolder;
}
