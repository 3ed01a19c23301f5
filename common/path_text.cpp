#include "common/path_text.h"

#include <stdarg.h>
#include <stdio.h>
#include <string.h>

#include "common/dbcs.h"

bool ComposePath(char* buffer, size_t size, const char* format, ...)
{
    if (size == 0)
        return false;
    va_list args;
    va_start(args, format);
    int length = vsnprintf(buffer, size, format, args);
    va_end(args);
    if (length < 0 || static_cast<size_t>(length) >= size) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

bool CopyText(char* buffer, size_t size, const char* text)
{
    if (size == 0)
        return false;
    size_t length = strlen(text);
    if (length >= size) {
        buffer[0] = '\0';
        return false;
    }
    memcpy(buffer, text, length + 1);
    return true;
}

int LastSeparator(const char* path)
{
    int last = -1;
    for (const char* p = path; *p; p = NextChar(p)) {
        if (*p == '\\')
            last = static_cast<int>(p - path);
    }
    return last;
}

bool FolderOfPath(char* buffer, size_t size, const char* path)
{
    int separator = LastSeparator(path);
    size_t length = separator < 0 ? 0 : static_cast<size_t>(separator);
    if (size == 0 || length >= size) {
        if (size)
            buffer[0] = '\0';
        return false;
    }
    memcpy(buffer, path, length);
    buffer[length] = '\0';
    return true;
}
