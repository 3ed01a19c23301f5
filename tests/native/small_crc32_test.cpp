#include "installer/program/small_crc32.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

namespace {

unsigned long Small(unsigned long crc, const std::string& text)
{
    return SmallCrc32(crc, reinterpret_cast<const unsigned char*>(text.data()), static_cast<unsigned>(text.size()));
}

unsigned long Zlib(unsigned long crc, const std::string& text)
{
    return crc32(crc, reinterpret_cast<const Bytef*>(text.data()), static_cast<uInt>(text.size()));
}

// The installer replaces zlib's crc32() with this one: the two agree.
TEST(SmallCrc32, AgreesWithZlib)
{
    EXPECT_EQ(SmallCrc32(0, nullptr, 0), crc32(0, Z_NULL, 0));
    EXPECT_EQ(Small(0, "123456789"), 0xCBF43926UL);  // the standard check value
    std::string bytes;
    for (int i = 0; i < 1000; ++i)
        bytes += static_cast<char>(i * 37 + 11);
    for (const std::string& text : {std::string(), std::string("a"), bytes}) {
        EXPECT_EQ(Small(0, text), Zlib(0, text));
        // Continued from an earlier value, as over a stream in pieces.
        EXPECT_EQ(Small(Small(0, text), text), Zlib(Zlib(0, text), text));
    }
}

}  // namespace
