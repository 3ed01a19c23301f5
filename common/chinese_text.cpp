#include "common/chinese_text.h"

#include <stdarg.h>
#include <stdio.h>

int ToWide(UINT codePage, const char* text, int length, wchar_t* buffer, int size)
{
    if (size <= 0)
        return -1;
    if (length < 0)
        length = lstrlenA(text);
    // Fails (0) when the result does not fit the room before the terminator.
    const int written = length ? ::MultiByteToWideChar(codePage, 0, text, length, buffer, size - 1) : 0;
    buffer[written] = L'\0';
    return written > 0 || length == 0 ? written : -1;
}

WideText::WideText(const char* text, int length, UINT codePage)
{
    const int written = ToWide(codePage, text, length, m_text, kWideTextSize);
    m_length = written < 0 ? 0 : written;
}

bool PathFromWide(const wchar_t* path, char* buffer, int size)
{
    if (size <= 0)
        return false;
    BOOL usedDefault = FALSE;
    // UTF-8 as the ANSI code page represents every character and takes
    // neither the flag nor the check.
    const bool utf8 = ::GetACP() == CP_UTF8;
    int written = ::WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS, path, -1, buffer, size, nullptr,
                                        utf8 ? nullptr : &usedDefault);
    if (written <= 0 || usedDefault) {
        buffer[0] = '\0';
        return false;
    }
    return true;
}

bool ComposeWide(wchar_t* buffer, size_t size, const wchar_t* format, ...)
{
    if (size == 0)
        return false;
    va_list args;
    va_start(args, format);
    int length = _vsnwprintf(buffer, size, format, args);
    va_end(args);
    if (length < 0 || static_cast<size_t>(length) >= size) {
        buffer[0] = L'\0';
        return false;
    }
    return true;
}
