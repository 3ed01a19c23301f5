// The command line through which the 32-bit installer starts the 64-bit USB
// driver helper: the helper's path and the INF path, each in quotes.
// Windows file names hold no quote, so no escaping is needed.
#pragma once

#include <stddef.h>

// Two quoted paths of up to 255 characters, a blank and the terminator.
constexpr size_t kUsbHelperCommandSize = 2 * 257 + 2;

// "helper" "inf"; false (buffer empty) when it does not fit.
bool ComposeUsbHelperCommand(char* buffer, size_t size, const char* helperPath, const char* infPath);

// The INF path from the helper's arguments (the command line after the
// program's own name): one quoted path and nothing else but blanks around
// it. False (buffer empty) for anything else or a path that does not fit.
bool InfPathOfHelperArguments(char* buffer, size_t size, const char* arguments);
