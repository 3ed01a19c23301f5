// The page pictures travel in the programs packed as runs of pixels: a few
// KB instead of the 170 KB of the raw 24-bit bitmaps, and a decoder of a few
// dozen instructions where zlib's inflate would add 40 KB to the uninstaller.
// Portable: no windows.h.
//
// Format: the 40-byte BITMAPINFOHEADER of an uncompressed, bottom-up 24-bit
// DIB, then its rows in the DIB's order, each as runs that fill exactly the
// row's width: a control byte c, then for c < 0x80 c + 1 literal pixels
// (3 bytes each, blue green red), for c >= 0x80 one pixel that repeats
// (c & 0x7F) + 1 times. Rows are padded to four bytes when unpacked.
#pragma once

#include <stddef.h>

const size_t kPictureHeaderSize = 40;
// Larger than any page picture; bounds what a damaged header can ask for.
const int kMaxPictureSide = 1024;

// Receives the checked header and returns room for `size` bytes of rows, or
// null to give up.
using PictureRowsFn = unsigned char* (*)(void* context, const unsigned char* header, int width, int height,
                                         size_t size);

// Unpacks a picture: checks its header, then writes the rows straight into
// the room that rows() returns. False when the header is not an uncompressed
// 24-bit bottom-up picture of 1 to kMaxPictureSide pixels a side, or the runs
// do not fill every row exactly and end with the data; the room may then
// hold part of the rows.
bool UnpackPicture(const unsigned char* packed, size_t packedSize, PictureRowsFn rows, void* context);
