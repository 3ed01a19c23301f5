#pragma once

// Asks Windows to restart: enables the shutdown privilege, then
// ExitWindowsEx(EWX_REBOOT) without forcing. Whether Windows agrees is not
// looked at.
void RestartWindows();
