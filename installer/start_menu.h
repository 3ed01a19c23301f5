#pragma once

// The Start-menu folder "%USERPROFILE%\「开始」菜单\程序\Varnek打印机" (its last
// level only) and in it the shortcut to the installed uninstaller. Silent
// when the parent folder is missing or a path does not fit.
void CreateStartMenuEntry(const char* installFolder);

// A shell link at linkFile to target, working in target's folder. Replaces
// an existing link; silent on failure.
void CreateUninstallShortcut(const char* target, const char* linkFile);
