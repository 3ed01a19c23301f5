#pragma once

#include "installer/steps/installation.h"

// The product's Start-menu folder in the shell's programs folder (its last
// level only) and in it the shortcut to the installed uninstaller. One log
// line with the error (an HRESULT from the shell link) that kept it from
// being made; kStartMenuFailed unless the shortcut was saved.
InstallOutcome CreateStartMenuEntry(const Installation& installation);

// A shell link at linkFile to target, working in target's folder. Replaces
// an existing link. S_OK when saved.
long CreateUninstallShortcut(const char* target, const wchar_t* linkFile);
