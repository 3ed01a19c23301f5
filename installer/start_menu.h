#pragma once

// The Start-menu folder "Varnek打印机" in the shell's programs folder (its
// last level only) and in it the shortcut to the installed uninstaller.
// Silent when the programs folder is missing or a path does not fit.
void CreateStartMenuEntry(const char* installFolder);

// A shell link at linkFile to target, working in target's folder. Replaces
// an existing link; silent on failure.
void CreateUninstallShortcut(const char* target, const wchar_t* linkFile);
