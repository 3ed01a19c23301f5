// The uninstaller's page pictures travel packed as runs of pixels: a few KB
// instead of the 170 KB of the raw 24-bit bitmaps, and a decoder of a few
// dozen instructions where zlib's inflate would add 25 KB to a program that
// has no other use for it. Portable: no windows.h.
//
// Format: the picture's header (wizard_ui/picture_format.h), then its rows
// in the DIB's order, each as runs that fill exactly the row's width: a
// control byte c, then for c < 0x80 c + 1 literal pixels (3 bytes each, blue
// green red), for c >= 0x80 one pixel that repeats (c & 0x7F) + 1 times.
// Rows are padded to four bytes when unpacked.
#pragma once

#include "wizard_ui/picture_format.h"

// A PictureDecoder for run-packed pictures. False when the header is not a
// page picture's, or the runs do not fill every row exactly and end with the
// data.
bool UnpackPicture(const unsigned char* packed, size_t packedSize, PictureRowsFn rows, void* context);
