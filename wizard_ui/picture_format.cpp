#include "wizard_ui/picture_format.h"

namespace {

unsigned ReadLittle(const unsigned char* bytes, int count)
{
    unsigned value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = value << 8 | bytes[i];
    return value;
}

bool IsPictureSide(int pixels)
{
    return pixels > 0 && pixels <= kMaxPictureSide;
}

}  // namespace

bool ReadPictureHeader(const unsigned char* header, int* width, int* height)
{
    *width = static_cast<int>(ReadLittle(header + 4, 4));
    *height = static_cast<int>(ReadLittle(header + 8, 4));
    return ReadLittle(header, 4) == kPictureHeaderSize && IsPictureSide(*width) && IsPictureSide(*height) &&
           ReadLittle(header + 12, 2) == 1 && ReadLittle(header + 14, 2) == 24 && ReadLittle(header + 16, 4) == 0;
}

size_t PictureStride(int width)
{
    return static_cast<size_t>(width * 3 + 3) & ~static_cast<size_t>(3);
}
