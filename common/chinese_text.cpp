#include "common/chinese_text.h"

#include <stdarg.h>
#include <stdio.h>

bool ToWide(UINT codePage, const char* text, int length, wchar_t* buffer, int size)
{
    if (size <= 0)
        return false;
    buffer[0] = L'\0';
    if (length < 0)
        length = lstrlenA(text);
    if (length == 0)
        return true;
    // One UTF-16 unit per byte at most, so this asks only when it may not fit.
    int needed = length < size ? length : ::MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    if (needed <= 0 || needed >= size)
        return false;
    int written = ::MultiByteToWideChar(codePage, 0, text, length, buffer, size - 1);
    if (written <= 0) {
        buffer[0] = L'\0';
        return false;
    }
    buffer[written] = L'\0';
    return true;
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

int ShowTextBox(HWND owner, const char* text, const char* caption, UINT type)
{
    WideText wideText(text), wideCaption(caption);
    return ::MessageBoxW(owner, wideText, wideCaption, type);
}
