// The installer's command line, after the NSIS convention: "/S" installs
// without any window; "/D=folder" comes last and takes the rest of the line
// as the folder, blanks included, or is quoted as a whole ("/D=C:\a b") as
// deployment tools quote an argument with blanks. "/LOG=file" (before "/D=")
// names the log file: up to the next blank, or in double quotes
// ("/LOG="C:\a b.log"") when it holds blanks. Any other argument (a file
// dropped on the icon, say) is ignored. Read in UTF-16, so that a program
// path outside the ANSI code page does not matter; only the folder and the
// log file must fit it. Portable (no windows.h).
#pragma once

#include <stddef.h>
#include <wchar.h>

#include "common/path_text.h"

// No default member initialisers: they would keep a zero copy of it in the
// image's data; ParseInstallArguments sets every field.
struct InstallCommand {
    bool silent;
    bool hasFolder;  // "/D=" was given, perhaps with an empty folder
    wchar_t folder[kPathBufferSize];
    wchar_t logFile[kPathBufferSize];  // "/LOG=": empty for the default place
};

// The arguments of a Windows command line: what follows the program path
// (quoted, or up to the first blank) and the blanks after it.
const wchar_t* SkipProgramPath(const wchar_t* commandLine);

// Reads the arguments into command. False for "/D=" without "/S", for a
// quoted "/D=" followed by more, for an empty or second "/LOG=", and for a
// folder or log file that does not fit (it is refused, never cut). No
// argument, or none of ours, is the wizard.
bool ParseInstallArguments(const wchar_t* arguments, InstallCommand& command);
