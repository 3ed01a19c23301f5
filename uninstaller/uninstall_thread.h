#pragma once

#include <windows.h>

// The removal worker, started on the removing page with the dialog as its
// parameter. Hands back to the dialog by posting the Next command.
UINT UninstallThread(LPVOID pParam);
