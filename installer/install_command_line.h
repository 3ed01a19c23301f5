// The installer's command line, after the NSIS convention: "/S" installs
// without any window; "/D=folder" comes last and takes the rest of the line
// as the folder, blanks included, without quotes. "/LOG=file" (before "/D=")
// names the log file: up to the next blank, or in double quotes
// ("/LOG="C:\a b.log"") when it holds blanks. Portable (no windows.h).
#pragma once

#include <stddef.h>

#include "common/path_text.h"

// Room for the whole command line: the program's own path, the switches and
// a folder, each path within its own limit.
constexpr size_t kInstallCommandLineSize = 1024;

struct InstallCommand {
    bool silent = false;
    bool hasFolder = false;           // "/D=" was given, perhaps with an empty folder
    char folder[kPathBufferSize] = "";
    char logFile[kPathBufferSize] = "";  // "/LOG=": empty for the default place
};

// The arguments of a Windows command line: what follows the program path
// (quoted, or up to the first blank) and the blanks after it.
const char* SkipProgramPath(const char* commandLine);

// Reads the arguments into command. False for anything but "/S" tokens, one
// "/LOG=" with a file name and a final "/D=", for "/D=" without "/S" and for
// a folder or log file that does not fit (it is refused, never cut). No
// argument at all is the wizard.
bool ParseInstallArguments(const char* arguments, InstallCommand& command);
