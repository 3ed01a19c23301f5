// Narrow texts are in the ANSI code page (936 for every literal of the
// programs), where a byte of 0x80 or above may start a two-byte character
// whose second byte can be '\\'. Scans of paths step over such pairs.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

inline bool IsLeadByte(unsigned char c)
{
#ifdef _WIN32
    return ::IsDBCSLeadByte(c) != 0;
#else
    return c >= 0x81 && c <= 0xFE;  // code page 936
#endif
}

// The position after the character at p (one or two bytes; a lead byte at
// the end of the text counts as one character).
inline const char* NextChar(const char* p)
{
    if (IsLeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0')
        return p + 2;
    return p + 1;
}
