#pragma once

#include "installer/steps/installation.h"

// What Windows keeps of the installation outside its folders: the product key,
// the Start-menu entry and the Programs and Features entry. Each step writes
// one log line and returns its outcome.

// HKLM "Software\VarnekPrinter" in the 64-bit registry view: "Data Directory"
// (read by the driver plug-ins) and "Program Directory" (read by the port
// monitor). A value that does not fit a path buffer is not written. One log
// line with the first error; kProductKeyFailed unless both were written.
InstallOutcome WriteInstallRegistry(const Installation& installation);

// The product's Start-menu folder in the shell's programs folder (its last
// level only) and in it the shortcut to the installed uninstaller. One log
// line with the error (an HRESULT from the shell link) that kept it from
// being made; kStartMenuFailed unless the shortcut was saved.
InstallOutcome CreateStartMenuEntry(const Installation& installation);

// A shell link at linkFile to target, working in target's folder. Replaces
// an existing link. S_OK when saved.
long CreateUninstallShortcut(const char* target, const wchar_t* linkFile);

// The product's entry in Programs and Features (HKLM, 64-bit view): name,
// version, publisher, location, icon, the uninstaller's command lines with
// and without "/S", the size of the installation folder's files in KB, and
// no modify or repair. Written whole or not at all when a path does not fit.
// One log line with the first error; kUninstallEntryFailed unless written.
InstallOutcome WriteUninstallEntry(const Installation& installation);
