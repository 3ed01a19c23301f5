#include "common/usb_helper_command.h"

#include <string.h>

#include "common/path_text.h"

bool ComposeUsbHelperCommand(char* buffer, size_t size, const char* helperPath, const char* infPath)
{
    return ComposePath(buffer, size, "\"%s\" \"%s\"", helperPath, infPath);
}

bool InfPathOfHelperArguments(char* buffer, size_t size, const char* arguments)
{
    if (size > 0)
        buffer[0] = '\0';
    while (*arguments == ' ')
        ++arguments;
    if (*arguments != '"')
        return false;
    const char* path = arguments + 1;
    const char* end = strchr(path, '"');
    if (!end || end == path)
        return false;
    for (const char* rest = end + 1; *rest; ++rest) {
        if (*rest != ' ')
            return false;
    }
    const size_t length = static_cast<size_t>(end - path);
    if (length >= size || length >= kPathBufferSize)
        return false;
    memcpy(buffer, path, length);
    buffer[length] = '\0';
    return true;
}
