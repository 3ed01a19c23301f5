#include "wizard_ui/packed_picture.h"

#include <string.h>

namespace {

const unsigned char kRepeatFlag = 0x80;

// Unpacks the runs of one row of `width` pixels into row; advances in.
bool UnpackRow(const unsigned char*& in, const unsigned char* end, unsigned char* row, int width)
{
    for (int x = 0; x < width;) {
        if (in == end)
            return false;
        const unsigned char control = *in++;
        const int count = (control & ~kRepeatFlag) + 1;
        const size_t bytes = control & kRepeatFlag ? 3 : 3 * static_cast<size_t>(count);
        if (count > width - x || bytes > static_cast<size_t>(end - in))
            return false;
        for (int i = 0; i < count; ++i, ++x)
            memcpy(row + 3 * x, control & kRepeatFlag ? in : in + 3 * i, 3);
        in += bytes;
    }
    return true;
}

}  // namespace

bool UnpackPicture(const unsigned char* packed, size_t packedSize, PictureRowsFn rows, void* context)
{
    int width, height;
    if (packedSize < kPictureHeaderSize || !ReadPictureHeader(packed, &width, &height))
        return false;
    const size_t stride = PictureStride(width);
    unsigned char* room = rows(context, packed, width, height, stride * height);
    if (!room)
        return false;
    const unsigned char* in = packed + kPictureHeaderSize;
    const unsigned char* end = packed + packedSize;
    for (int y = 0; y < height; ++y) {
        unsigned char* row = room + stride * y;
        if (!UnpackRow(in, end, row, width))
            return false;
        memset(row + 3 * width, 0, stride - 3 * width);
    }
    return in == end;
}
