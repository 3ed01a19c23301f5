#pragma once

#include <windows.h>

// The installation worker, started on the installing page with the dialog as
// its parameter. Hands back to the dialog by posting the Next command.
UINT InstallThread(LPVOID pParam);
