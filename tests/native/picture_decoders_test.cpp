// Both stored forms of the page pictures: runs of pixels (the uninstaller)
// and one zlib stream (the installer).
#include <gtest/gtest.h>
#include <zlib.h>

#include <vector>

#include "installer/program/inflated_picture.h"
#include "wizard_ui/packed_picture.h"

namespace {

using Bytes = std::vector<unsigned char>;

void PutLittle(Bytes& out, unsigned value, int count)
{
    for (int i = 0; i < count; ++i)
        out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// The info header the art generator writes.
Bytes Header(int width, int height, int bits = 24, unsigned compression = 0)
{
    Bytes header;
    PutLittle(header, 40, 4);
    PutLittle(header, static_cast<unsigned>(width), 4);
    PutLittle(header, static_cast<unsigned>(height), 4);
    PutLittle(header, 1, 2);
    PutLittle(header, static_cast<unsigned>(bits), 2);
    PutLittle(header, compression, 4);
    for (int i = 0; i < 5; ++i)
        PutLittle(header, 0, 4);
    return header;
}

Bytes Pixel(unsigned char value)
{
    return {value, static_cast<unsigned char>(value + 1), static_cast<unsigned char>(value + 2)};
}

void Repeat(Bytes& out, int count, unsigned char value)
{
    out.push_back(static_cast<unsigned char>(0x80 | (count - 1)));
    const Bytes pixel = Pixel(value);
    out.insert(out.end(), pixel.begin(), pixel.end());
}

void Literal(Bytes& out, int count, unsigned char first)
{
    out.push_back(static_cast<unsigned char>(count - 1));
    for (int i = 0; i < count; ++i) {
        const Bytes pixel = Pixel(static_cast<unsigned char>(first + 10 * i));
        out.insert(out.end(), pixel.begin(), pixel.end());
    }
}

struct Sink {
    int width = 0, height = 0, calls = 0;
    Bytes rows;
    bool refuse = false;
};

unsigned char* Rows(void* context, const unsigned char*, int width, int height, size_t size)
{
    Sink& sink = *static_cast<Sink*>(context);
    ++sink.calls;
    sink.width = width;
    sink.height = height;
    sink.rows.assign(size, 0xCC);  // padding must be written, not left as found
    return sink.refuse ? nullptr : sink.rows.data();
}

bool Unpack(const Bytes& packed, Sink& sink)
{
    return UnpackPicture(packed.data(), packed.size(), Rows, &sink);
}

Bytes Deflate(const Bytes& dib)
{
    uLongf size = compressBound(dib.size());
    Bytes out(size);
    EXPECT_EQ(compress2(out.data(), &size, dib.data(), dib.size(), 9), Z_OK);
    out.resize(size);
    return out;
}

bool Inflate(const Bytes& deflated, Sink& sink)
{
    return InflatePicture(deflated.data(), deflated.size(), Rows, &sink);
}

// Three rows of five pixels: one repeat, five literals, a repeat then literals.
Bytes FiveByThree()
{
    Bytes packed = Header(5, 3);
    Repeat(packed, 5, 7);
    Literal(packed, 5, 20);
    Repeat(packed, 2, 9);
    Literal(packed, 3, 100);
    return packed;
}

TEST(PackedPicture, UnpacksRunsIntoPaddedRows)
{
    Sink sink;
    ASSERT_TRUE(Unpack(FiveByThree(), sink));
    EXPECT_EQ(sink.calls, 1);
    EXPECT_EQ(sink.width, 5);
    EXPECT_EQ(sink.height, 3);
    Bytes expected;
    for (int i = 0; i < 5; ++i)
        expected.insert(expected.end(), {7, 8, 9});
    expected.push_back(0);
    for (int i = 0; i < 5; ++i)
        expected.insert(expected.end(), {static_cast<unsigned char>(20 + 10 * i),
                                         static_cast<unsigned char>(21 + 10 * i),
                                         static_cast<unsigned char>(22 + 10 * i)});
    expected.push_back(0);
    expected.insert(expected.end(), {9, 10, 11, 9, 10, 11, 100, 101, 102, 110, 111, 112, 120, 121, 122, 0});
    EXPECT_EQ(sink.rows, expected);
}

TEST(PackedPicture, LongestRunsFillAWideRow)
{
    // 300 pixels: 128 repeated, 128 literal, 44 repeated.
    Bytes packed = Header(300, 1);
    Repeat(packed, 128, 1);
    Literal(packed, 128, 0);
    Repeat(packed, 44, 2);
    Sink sink;
    ASSERT_TRUE(Unpack(packed, sink));
    EXPECT_EQ(sink.rows.size(), 900u);
    EXPECT_EQ(sink.rows[3 * 127 + 2], 3);
    EXPECT_EQ(sink.rows[3 * 128], 0);
    EXPECT_EQ(sink.rows[3 * 299], 2);
}

TEST(PictureDecoders, RefuseHeadersThatAreNotAPagePicture)
{
    Bytes wrongSize = Header(4, 4);
    wrongSize[0] = 108;  // a BITMAPV4HEADER
    const struct {
        const char* what;
        Bytes header;
    } cases[] = {
        {"32 bits per pixel", Header(4, 4, 32)},
        {"8 bits per pixel", Header(4, 4, 8)},
        {"run-length compressed", Header(4, 4, 24, 1)},
        {"top-down rows", Header(4, -4)},
        {"no columns", Header(0, 4)},
        {"no rows", Header(4, 0)},
        {"wider than any page picture", Header(kMaxPictureSide + 1, 1)},
        {"higher than any page picture", Header(1, kMaxPictureSide + 1)},
        {"another header size", wrongSize},
        {"half a header", Bytes(wrongSize.begin(), wrongSize.begin() + 20)},
    };
    for (const auto& c : cases) {
        Bytes packed = c.header;
        Repeat(packed, 4, 1);
        Sink sink;
        EXPECT_FALSE(Unpack(packed, sink)) << c.what;
        // Nothing is asked for a header that is refused.
        EXPECT_EQ(sink.calls, 0) << c.what;
        // The same header deflated, with rows of any size after it.
        Bytes dib = c.header;
        dib.resize(dib.size() + 48, 0);
        Sink inflated;
        EXPECT_FALSE(Inflate(Deflate(dib), inflated)) << c.what;
        EXPECT_EQ(inflated.calls, 0) << c.what;
    }
}

TEST(PackedPicture, RefusesRunsThatDoNotFillTheRowsExactly)
{
    const Bytes good = FiveByThree();
    Bytes crossing = Header(5, 2);
    Repeat(crossing, 6, 1);
    Repeat(crossing, 4, 1);
    Bytes literalCrossing = Header(5, 1);
    Repeat(literalCrossing, 2, 1);
    Literal(literalCrossing, 4, 1);
    Bytes extra = good;
    extra.push_back(0x80);
    const struct {
        const char* what;
        Bytes packed;
    } cases[] = {
        {"a repeat runs into the next row", crossing},
        {"literals run past the row", literalCrossing},
        {"a byte after the last row", extra},
        {"the last pixel cut off", Bytes(good.begin(), good.end() - 1)},
        {"the last row missing", Bytes(good.begin(), good.end() - 10)},
        {"no rows at all", Header(5, 3)},
    };
    for (const auto& c : cases) {
        Sink sink;
        EXPECT_FALSE(Unpack(c.packed, sink)) << c.what;
    }
}

TEST(PackedPicture, GivesUpWhenNoRoomIsGiven)
{
    Sink sink;
    sink.refuse = true;
    EXPECT_FALSE(Unpack(FiveByThree(), sink));
    EXPECT_EQ(sink.calls, 1);
}

// The DIB of FiveByThree() as the art generator writes it, rows padded.
Bytes FiveByThreeDib()
{
    Sink sink;
    EXPECT_TRUE(Unpack(FiveByThree(), sink));
    Bytes dib = Header(5, 3);
    dib.insert(dib.end(), sink.rows.begin(), sink.rows.end());
    return dib;
}

TEST(InflatedPicture, InflatesIntoTheRowsExactly)
{
    const Bytes dib = FiveByThreeDib();
    Sink sink;
    ASSERT_TRUE(Inflate(Deflate(dib), sink));
    EXPECT_EQ(sink.calls, 1);
    EXPECT_EQ(sink.width, 5);
    EXPECT_EQ(sink.height, 3);
    EXPECT_EQ(sink.rows, Bytes(dib.begin() + kPictureHeaderSize, dib.end()));
}

TEST(InflatedPicture, RefusesStreamsThatDoNotHoldExactlyThePicture)
{
    const Bytes dib = FiveByThreeDib();
    const Bytes good = Deflate(dib);
    Bytes longer = dib;
    longer.push_back(0);
    Bytes badChecksum = good;
    badChecksum[good.size() - 1] ^= 1;  // the Adler-32 ends the stream
    Bytes trailing = good;
    trailing.push_back(0);
    const struct {
        const char* what;
        Bytes deflated;
    } cases[] = {
        {"a row short", Deflate(Bytes(dib.begin(), dib.end() - 16))},
        {"a byte past the last row", Deflate(longer)},
        {"cut off before its checksum", Bytes(good.begin(), good.end() - 4)},
        {"a wrong checksum", badChecksum},
        {"a byte after the stream", trailing},
        {"not a zlib stream", dib},
        {"empty", Bytes()},
    };
    for (const auto& c : cases) {
        Sink sink;
        EXPECT_FALSE(Inflate(c.deflated, sink)) << c.what;
    }
}

TEST(InflatedPicture, GivesUpWhenNoRoomIsGiven)
{
    Sink sink;
    sink.refuse = true;
    EXPECT_FALSE(Inflate(Deflate(FiveByThreeDib()), sink));
    EXPECT_EQ(sink.calls, 1);
}

}  // namespace
