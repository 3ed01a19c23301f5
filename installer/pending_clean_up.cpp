#include "installer/pending_clean_up.h"

#include <windows.h>

#include "common/clean_up_command.h"
#include "common/path_text.h"

void CancelPendingCleanUp()
{
    HKEY key;
    // The 64-bit view, where the uninstaller writes the value.
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, VARNEK_RUN_ONCE_KEY, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | KEY_WOW64_64KEY,
                        &key) != ERROR_SUCCESS)
        return;
    char data[2 * kPathBufferSize + 8];
    DWORD type = 0, bytes = sizeof data - 1;
    if (::RegQueryValueExA(key, VARNEK_RUN_ONCE_VALUE, nullptr, &type, reinterpret_cast<BYTE*>(data), &bytes) ==
            ERROR_SUCCESS &&
        type == REG_SZ) {
        // The stored data need not end in a zero.
        data[bytes] = '\0';
        if (RunsOurCleanUpPass(data))
            ::RegDeleteValueA(key, VARNEK_RUN_ONCE_VALUE);
    }
    ::RegCloseKey(key);
}
