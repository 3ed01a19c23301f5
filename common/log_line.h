// One line of the installation and removal logs, free of Windows calls so its
// form is tested natively: time, step, what the step acted on, result and the
// Windows error code, separated by tabs.
#pragma once

#include <stddef.h>

struct LogTime {
    unsigned year, month, day, hour, minute, second, millisecond;
};

// Room for a line with a path of 255 characters in it.
constexpr size_t kLogLineSize = 640;

// "2026-12-09 08:51:39.123\tstep\tobject\tresult\terror\r\n". A control
// character in a field becomes '?', so every entry stays one line and its
// fields stay apart. False, buffer empty, when the line does not fit.
bool FormatLogLine(char* buffer, size_t size, const LogTime& time, const char* step, const char* object,
                   const char* result, unsigned long error);
