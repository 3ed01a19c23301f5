#include "installer/port_error_text.h"

#include "common/names.h"
#include "common/path_text.h"

bool ComposePortErrorText(char* buffer, size_t size, unsigned long code)
{
    // Setup API codes such as 0xE000020B are meaningful only in hexadecimal.
    return ComposePath(buffer, size, "添加端口 " VARNEK_PORT " 失败，错误代码 %lu (0x%08lX)", code, code);
}
