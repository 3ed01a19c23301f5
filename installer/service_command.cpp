#include "installer/service_command.h"

#include "common/path_text.h"
#include "common/product.h"

bool ComposeServiceCommand(char* buffer, size_t size, const char* installFolder)
{
    return ComposePath(buffer, size, "\"%s\\%s\"", installFolder, MemberName(Member::kService));
}
