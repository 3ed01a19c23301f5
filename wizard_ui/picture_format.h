// What every stored page picture decodes to, whatever its packing: the
// 40-byte BITMAPINFOHEADER of an uncompressed, bottom-up 24-bit DIB, then
// its rows padded to four bytes. Portable: no windows.h.
#pragma once

#include <stddef.h>

const size_t kPictureHeaderSize = 40;
// Larger than any page picture; bounds what a damaged header can ask for.
const int kMaxPictureSide = 1024;

// Receives the checked header and returns room for `size` bytes of rows, or
// null to give up.
using PictureRowsFn = unsigned char* (*)(void* context, const unsigned char* header, int width, int height,
                                         size_t size);

// Decodes one stored picture: checks its header, then writes the rows
// straight into the room that rows() returns. False when the picture is
// damaged; the room may then hold part of the rows. Each program passes the
// decoder of its own packing, so a program links only the one it uses.
using PictureDecoder = bool (*)(const unsigned char* stored, size_t storedSize, PictureRowsFn rows,
                                void* context);

// True when header is an uncompressed 24-bit bottom-up picture of 1 to
// kMaxPictureSide pixels a side; then sets width and height.
bool ReadPictureHeader(const unsigned char* header, int* width, int* height);

// Bytes of one row of a picture `width` pixels wide, padded to four bytes.
size_t PictureStride(int width);
