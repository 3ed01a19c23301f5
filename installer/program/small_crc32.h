// CRC-32 (IEEE 802.3, zlib's crc32() convention) computed bit by bit: no
// tables. Portable: no windows.h.
#pragma once

// The CRC of len bytes at buf, continued from crc; with buf null, the
// initial value 0.
unsigned long SmallCrc32(unsigned long crc, const unsigned char* buf, unsigned len);
