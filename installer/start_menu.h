#pragma once

// The product's Start-menu folder in the shell's programs folder (its last
// level only) and in it the shortcut to the installed uninstaller.
// 0 when the shortcut was saved, else the error (an HRESULT from the shell
// link) that kept it from being made.
unsigned long CreateStartMenuEntry(const char* installFolder);

// A shell link at linkFile to target, working in target's folder. Replaces
// an existing link. S_OK when saved.
long CreateUninstallShortcut(const char* target, const wchar_t* linkFile);
