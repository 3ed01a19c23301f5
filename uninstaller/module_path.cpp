#include "uninstaller/module_path.h"

#include <windows.h>

#include "common/path_text.h"

bool GetOwnPath(char* buffer, size_t size)
{
    DWORD n = ::GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size));
    if (n == 0 || n >= size) {
        if (size)
            buffer[0] = '\0';
        return false;
    }
    return true;
}

bool GetOwnFolder(char* buffer, size_t size)
{
    char path[MAX_PATH];
    return GetOwnPath(path, sizeof path) && FolderOfPath(buffer, size, path) && buffer[0];
}
