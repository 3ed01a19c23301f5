#include "tests/standins/monitor/port_registry.h"

namespace {

const wchar_t kPortsKey[] = VARNEK_MONITOR_KEY L"\\Ports";

bool ComposePortKey(wchar_t (&buffer)[512], const wchar_t* name)
{
    const int length = lstrlenW(name);
    if (length == 0 || length > static_cast<int>(kMaxPortName))
        return false;
    for (const wchar_t* p = name; *p; ++p) {
        if (*p == L'\\')
            return false;
    }
    lstrcpyW(buffer, kPortsKey);
    lstrcatW(buffer, L"\\");
    lstrcatW(buffer, name);
    return true;
}

}  // namespace

bool PortNameFromInput(const BYTE* data, DWORD size, const wchar_t** name)
{
    if (!data || size < 2 * sizeof(wchar_t) || size % sizeof(wchar_t) != 0)
        return false;
    const wchar_t* text = reinterpret_cast<const wchar_t*>(data);
    const DWORD count = size / sizeof(wchar_t);
    for (DWORD i = 0; i + 1 < count; ++i) {
        if (text[i] == L'\0')
            return false;
    }
    if (text[count - 1] != L'\0')
        return false;
    *name = text;
    return true;
}

DWORD AddPortKey(const wchar_t* name)
{
    wchar_t path[512];
    if (!ComposePortKey(path, name))
        return ERROR_INVALID_PARAMETER;
    HKEY key;
    DWORD disposition = 0;
    LONG status = ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ,
                                    nullptr, &key, &disposition);
    if (status != ERROR_SUCCESS)
        return static_cast<DWORD>(status);
    ::RegCloseKey(key);
    return disposition == REG_OPENED_EXISTING_KEY ? ERROR_ALREADY_EXISTS : NO_ERROR;
}

DWORD DeletePortKey(const wchar_t* name)
{
    wchar_t path[512];
    if (!ComposePortKey(path, name))
        return ERROR_INVALID_PARAMETER;
    LONG status = ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, path);
    if (status == ERROR_FILE_NOT_FOUND)
        return ERROR_UNKNOWN_PORT;
    return static_cast<DWORD>(status);
}

bool PortExists(const wchar_t* name)
{
    wchar_t path[512];
    HKEY key;
    if (!ComposePortKey(path, name) || ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

bool OpenPortsKey(HKEY* key)
{
    return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPortsKey, 0, KEY_READ, key) == ERROR_SUCCESS;
}
