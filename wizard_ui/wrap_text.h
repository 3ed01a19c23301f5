// Line breaking of narrow (code page 936) text by measured width. Portable:
// the page window measures with its device context, the unit tests with a
// deterministic measurer.
#pragma once

#include "framework/text.h"

// Longest line, in bytes, that the breaking assembles (a 256-byte buffer).
constexpr int kWrapLineBytes = 255;

// Width in pixels of the first `length` bytes of `text`.
using MeasureTextFn = int (*)(const void* context, const char* text, int length);

// Appends the display lines of `text` to `lines`: greedy breaking at any
// character, never inside a two-byte character; '\n' ends a line and is not
// part of it. A line never exceeds maxWidth unless a single character does,
// and never exceeds kWrapLineBytes.
void WrapTextLines(const char* text, CStringArray& lines, int maxWidth, MeasureTextFn measure,
                   const void* context);
