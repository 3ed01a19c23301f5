#pragma once

#include <stddef.h>

// The "ERROR" box's text when the system has no message for the code (or
// the port command failed without saying why): the code in decimal and
// hexadecimal, so that it can still be looked up. False when it does not fit.
bool ComposePortErrorText(char* buffer, size_t size, unsigned long code);
