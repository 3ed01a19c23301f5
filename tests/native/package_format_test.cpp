// The package writer and reader against each other, and the name rule.
#include <gtest/gtest.h>

#include <zlib.h>

#include "tests/native/memory_package.h"

namespace {

const ExtractFolders kFolders = {"C:\\Program Files\\Varnek 打印机", "C:\\ProgramData\\VarnekPrinter"};

Bytes Pattern(size_t size, unsigned seed)
{
    Bytes data(size);
    unsigned x = seed;
    for (size_t i = 0; i < size; ++i) {
        x = x * 1103515245u + 12345u;
        // Runs of repeated bytes between noise: partly compressible.
        data[i] = (i / 64) % 3 ? static_cast<unsigned char>(x >> 24) : static_cast<unsigned char>(i / 64);
    }
    return data;
}

struct Member {
    std::string name;
    Bytes data;
};

std::vector<Member> SampleMembers()
{
    return {
        {"Brevlet.exe", Pattern(70000, 1)},
        {"VarnekSetting.ini", Bytes{'[', 'P', ']', '\r', '\n', 'a', '=', '1'}},
        {"empty.txt", Bytes()},
        {"STDNAMES.GPD", Pattern(16384 * 3, 2)},  // exactly three output buffers
    };
}

Bytes BuildPackage(const std::vector<Member>& members, size_t imageSize, std::vector<PackageEntry>* entries)
{
    Bytes file = Pattern(imageSize, 9);
    for (const Member& member : members) {
        PackageEntry entry;
        entry.name = member.name;
        EXPECT_TRUE(CompressMember(member.data, &entry.stream));
        entries->push_back(entry);
    }
    EXPECT_TRUE(AppendPackage(file, "1.3.0.30", *entries));
    return file;
}

TEST(PackageFormat, WriterAndReaderAgreeByteForByte)
{
    const std::vector<Member> members = SampleMembers();
    std::vector<PackageEntry> entries;
    const size_t imageSize = 12345;  // any image size: the offset comes from the trailer
    const Bytes file = BuildPackage(members, imageSize, &entries);

    // Zeros between image and package make the file a multiple of 8 bytes:
    // a signature then follows the trailer directly.
    const uint32_t offset = GetU32(&file[file.size() - 4]);
    EXPECT_EQ(GetU32(&file[file.size() - 8]), members.size());
    EXPECT_EQ(file.size() % 8, 0u);
    ASSERT_GE(offset, imageSize);
    EXPECT_LT(offset, imageSize + 8);
    EXPECT_EQ(Bytes(file.begin() + imageSize, file.begin() + offset), Bytes(offset - imageSize, 0));

    MemoryInput input(file);
    PackageLayout layout;
    ASSERT_TRUE(ReadPackageLayout(input, input.Size(), &layout));
    EXPECT_EQ(layout.entryCount, members.size());
    EXPECT_EQ(layout.packageOffset, offset);
    EXPECT_EQ(layout.firstEntry, offset + 4 + 8);
    EXPECT_EQ(layout.packageSize, file.size() - offset);
    InflatedSize inflated;
    EXPECT_EQ(VerifyPackage(input, layout, kFolders, &inflated), InstallOutcome::kInstalled);
    EXPECT_EQ(inflated.dataFolder, members[1].data.size());
    EXPECT_EQ(inflated.installFolder, 70000u + 16384 * 3);

    // Re-serialising what the reader sees gives the same bytes.
    Bytes rebuilt(file.begin(), file.begin() + imageSize);
    std::vector<PackageEntry> read;
    uint32_t position = layout.firstEntry;
    for (uint32_t i = 0; i < layout.entryCount; ++i) {
        EntryHeader header;
        ASSERT_TRUE(ReadEntryHeader(input, layout, position, &header));
        PackageEntry entry;
        entry.name = header.name;
        entry.stream.assign(file.begin() + header.dataOffset, file.begin() + header.dataOffset + header.dataLength);
        EXPECT_EQ(entry.name, members[i].name);
        EXPECT_EQ(entry.stream, entries[i].stream);
        ASSERT_GE(entry.stream.size(), 2u);
        EXPECT_EQ(entry.stream[0], 0x78);  // zlib header of the default level
        EXPECT_EQ(entry.stream[1], 0x9C);
        read.push_back(entry);
        position = header.dataOffset + header.dataLength;
    }
    ASSERT_TRUE(AppendPackage(rebuilt, "1.3.0.30", read));
    EXPECT_EQ(rebuilt, file);

    RecordingTarget target;
    ASSERT_EQ(ExtractPackageFile(input, input.Size(), kFolders, NativeMachine::kX64, target),
              InstallOutcome::kInstalled);
    ASSERT_EQ(target.files.size(), members.size());
    for (size_t i = 0; i < members.size(); ++i) {
        const std::string folder = i == 1 ? kFolders.dataFolder : kFolders.installFolder;
        EXPECT_EQ(target.files[i].path, folder + "\\" + members[i].name);
        EXPECT_EQ(target.statuses[i], target.files[i].path);
        EXPECT_EQ(target.files[i].data, members[i].data) << members[i].name;
        EXPECT_TRUE(target.files[i].closed);
    }
}

TEST(PackageFormat, WriterRefusesWhatTheReaderWouldRefuse)
{
    std::vector<PackageEntry> entries(1);
    entries[0].name = "a.txt";
    ASSERT_TRUE(CompressMember(Bytes{'x'}, &entries[0].stream));
    const Bytes image(100, 0xCC);

    Bytes file = image;
    EXPECT_FALSE(AppendPackage(file, std::string(51, 'v'), entries));
    EXPECT_FALSE(AppendPackage(file, "1", {}));
    entries[0].name = "..\\a.txt";
    EXPECT_FALSE(AppendPackage(file, "1", entries));
    EXPECT_EQ(file, image);

    entries[0].name = "a.txt";
    EXPECT_TRUE(AppendPackage(file, std::string(50, 'v'), entries));
}

TEST(PackageFormat, PlainFileNames)
{
    for (const char* name : {"UNIRES.DLL", "VarnekSetting.ini", "a", "COM10", "CONFIG.SYS", "x..y", "CONIN", "CONOUT$$",
                             "CONSOLE.txt", "NULL .ini", "xCON", "LPT\xb4",
                             "\xb1\xea\xc7\xa9.txt" /* 标签.txt in code page 936 */}) {
        EXPECT_TRUE(IsPlainFileName(name, strlen(name))) << name;
    }
    EXPECT_TRUE(IsPlainFileName(std::string(255, 'n').c_str(), 255));

    for (const char* name : {"", ".", "..", "...", "..\\x", "a\\b", "a/b", "C:x", "x:", "a\tb", "a\x7f", "a.",
                             "a ", ".. ", "CON", "con.txt", "Nul", "AUX.dll", "prn", "LPT1", "com9.log",
                             // Blanks before the dot, the console buffers, superscript digits.
                             "CON .txt", "NUL   .ini", "aux .a.b", "CONIN$", "conout$.log", "CONOUT$",
                             "COM\xb9", "lpt\xb2.txt", "COM0", "lpt0.x", "COM\xb3 .x",
                             "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b",
                             // A two-byte character whose second byte is '\\': refused,
                             // since the system's code page decides how it reads.
                             "\x95\\x"}) {
        EXPECT_FALSE(IsPlainFileName(name, strlen(name))) << name;
    }
    EXPECT_FALSE(IsPlainFileName(std::string(256, 'n').c_str(), 256));
    EXPECT_FALSE(IsPlainFileName("a\0b", 3));
}

}  // namespace
