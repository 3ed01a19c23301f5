#include "uninstaller/uninstall_entry_removal.h"

#include <windows.h>

#include "common/names.h"
#include "common/step_log.h"

namespace {

typedef LONG(WINAPI* DeleteKeyExProc)(HKEY, const char*, REGSAM, DWORD);

}  // namespace

RemovalResult RemoveUninstallEntry()
{
    // The installer writes the entry in the 64-bit view, where a 32-bit
    // program reaches it only through RegDeleteKeyExA. That call is looked up
    // at run time: 32-bit Windows XP lacks it, and has no other view either.
    HMODULE advapi = ::GetModuleHandleA("advapi32.dll");
    DeleteKeyExProc deleteKeyEx =
        advapi ? reinterpret_cast<DeleteKeyExProc>(
                     reinterpret_cast<void (*)()>(::GetProcAddress(advapi, "RegDeleteKeyExA")))
               : nullptr;
    const LONG error = deleteKeyEx ? deleteKeyEx(HKEY_LOCAL_MACHINE, VARNEK_UNINSTALL_KEY, KEY_WOW64_64KEY, 0)
                                   : ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, VARNEK_UNINSTALL_KEY);
    LogStep("uninstall entry", VARNEK_UNINSTALL_KEY, error == ERROR_SUCCESS ? "removed" :
            error == ERROR_FILE_NOT_FOUND ? "not there" : "failed", static_cast<unsigned long>(error));
    return DeletionResult(static_cast<unsigned long>(error));
}

bool IsUninstallEntryPresent()
{
    HKEY key;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, VARNEK_UNINSTALL_KEY, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY, &key) !=
        ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}
