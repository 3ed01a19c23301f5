#pragma once

#include <stddef.h>

// The running executable's full path; false when it does not fit the buffer
// (GetModuleFileNameA would cut it short).
bool GetOwnPath(char* buffer, size_t size);

// The folder of the running executable: its path up to the last backslash.
bool GetOwnFolder(char* buffer, size_t size);
