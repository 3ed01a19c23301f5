// The programs' texts are narrow code page 936 literals whatever the ANSI code
// page of the Windows they run on (a Western, Traditional Chinese or Japanese
// Windows reads such bytes as other characters). They reach Windows as UTF-16,
// converted here from 936 explicitly. Paths are the other kind of narrow text:
// they are in the ANSI code page and convert with CP_ACP.
#pragma once

#include <windows.h>

constexpr UINT kTextCodePage = 936;

// UTF-16 units of the longest text one call converts, with its terminator:
// longer than any text of the programs and any path.
constexpr int kWideTextSize = 512;

// Converts `length` bytes of text (-1: up to its terminator) from codePage
// into buffer, terminated; returns the UTF-16 units written. -1, leaving the
// buffer empty, when the result does not fit. Invalid bytes become the code
// page's default character, as Windows' own A functions do.
int ToWide(UINT codePage, const char* text, int length, wchar_t* buffer, int size);

// A narrow text converted for one call; empty when it does not fit.
class WideText {
public:
    explicit WideText(const char* text, int length = -1, UINT codePage = kTextCodePage);
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;

    operator const wchar_t*() const { return m_text; }
    int Length() const { return m_length; }

private:
    wchar_t m_text[kWideTextSize];
    int m_length;
};

// Converts a path typed or chosen as UTF-16 into the ANSI code page. False,
// leaving the buffer empty, when it does not fit or holds a character the
// ANSI code page cannot represent (never a best-fit look-alike or '?').
bool PathFromWide(const wchar_t* path, char* buffer, int size);

// Formats into buffer (size in UTF-16 units). Returns false, leaving the
// buffer empty, when the result does not fit.
bool ComposeWide(wchar_t* buffer, size_t size, const wchar_t* format, ...);
