#include "installer/program/small_crc32.h"

unsigned long SmallCrc32(unsigned long crc, const unsigned char* buf, unsigned len)
{
    if (!buf)
        return 0;
    unsigned long value = ~crc & 0xFFFFFFFFUL;
    while (len--) {
        value ^= *buf++;
        for (int bit = 0; bit < 8; ++bit)
            value = value & 1 ? (value >> 1) ^ 0xEDB88320UL : value >> 1;
    }
    return ~value & 0xFFFFFFFFUL;
}
