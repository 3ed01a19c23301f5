// Bounded composition of narrow paths: a path that does not fit its buffer is
// refused, never truncated.
#pragma once

#include <stddef.h>

// Every path buffer of the programs: 255 characters and a terminator.
constexpr size_t kPathBufferSize = 256;

// Formats into buffer. Returns false, leaving the buffer empty, when the
// result does not fit.
bool ComposePath(char* buffer, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Copies text into buffer; false (buffer empty) when it does not fit.
bool CopyText(char* buffer, size_t size, const char* text);

// Index of the last '\\' of path that is not the second byte of a two-byte
// character, or -1.
int LastSeparator(const char* path);

// The folder part of path: everything before its last separator (empty when
// there is none). False when it does not fit.
bool FolderOfPath(char* buffer, size_t size, const char* path);
