#include "installer/steps/installation_paths.h"

#include "common/path_text.h"
#include "common/product.h"

bool FitsInstallationPaths(const char* folder)
{
    char path[kPathBufferSize];
    if (!ComposeServiceCommand(path, sizeof path, folder))
        return false;
    for (const ProductMember& member : kProductMembers) {
        if (!ComposePath(path, sizeof path, "%s\\%s", folder, member.name))
            return false;
    }
    return true;
}

bool ComposeServiceCommand(char* buffer, size_t size, const char* installFolder)
{
    return ComposePath(buffer, size, "\"%s\\%s\"", installFolder, MemberName(Member::kService));
}
