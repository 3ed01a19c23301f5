#include "installer/program/inflated_picture.h"

#include <zlib.h>

namespace {

// Inflates into out[0, size); true when out is full and nothing failed.
bool InflateInto(z_stream& stream, unsigned char* out, size_t size)
{
    stream.next_out = out;
    stream.avail_out = static_cast<uInt>(size);
    int status = Z_OK;
    while (stream.avail_out > 0 && status == Z_OK)
        status = inflate(&stream, Z_NO_FLUSH);
    return stream.avail_out == 0 && (status == Z_OK || status == Z_STREAM_END);
}

bool InflateRows(z_stream& stream, PictureRowsFn rows, void* context)
{
    unsigned char header[kPictureHeaderSize];
    int width, height;
    if (!InflateInto(stream, header, sizeof header) || !ReadPictureHeader(header, &width, &height))
        return false;
    const size_t size = PictureStride(width) * height;
    unsigned char* room = rows(context, header, width, height, size);
    if (!room || !InflateInto(stream, room, size))
        return false;
    // The stream must end here, its checksum verified, with no bytes after it.
    unsigned char extra;
    stream.next_out = &extra;
    stream.avail_out = 1;
    return inflate(&stream, Z_FINISH) == Z_STREAM_END && stream.avail_out == 1 && stream.avail_in == 0;
}

}  // namespace

bool InflatePicture(const unsigned char* deflated, size_t deflatedSize, PictureRowsFn rows, void* context)
{
    z_stream stream = {};
    stream.next_in = const_cast<unsigned char*>(deflated);
    stream.avail_in = static_cast<uInt>(deflatedSize);
    if (inflateInit(&stream) != Z_OK)
        return false;
    const bool inflated = InflateRows(stream, rows, context);
    inflateEnd(&stream);
    return inflated;
}
