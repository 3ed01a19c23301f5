// zlib's inflate refers to crc32() for gzip streams only, which inflateInit
// refuses: the package's streams carry Adler-32. Defining it here keeps
// zlib's crc32 object, 13 KB of tables and code, out of the installer.
#include <zlib.h>

#include "installer/program/small_crc32.h"

extern "C" uLong ZEXPORT crc32(uLong crc, const Bytef* buf, uInt len)
{
    return SmallCrc32(crc, buf, len);
}
