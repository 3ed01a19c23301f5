// The installer's page pictures travel deflated: it inflates its package
// anyway, and deflate packs the pictures' gradients and
// anti-aliased edges to about half of what runs of pixels take. Portable: no
// windows.h.
//
// Format: one zlib stream (RFC 1950, checked by its Adler-32) of the
// picture's header and padded rows (wizard_ui/picture_format.h), exactly the
// BMP file after its 14-byte file header.
#pragma once

#include "wizard_ui/picture_format.h"

// A PictureDecoder for deflated pictures. False when the stream is damaged,
// its header is not a page picture's, or it does not end exactly after the
// last row.
bool InflatePicture(const unsigned char* deflated, size_t deflatedSize, PictureRowsFn rows, void* context);
