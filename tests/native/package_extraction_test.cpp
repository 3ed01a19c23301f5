// ExtractPackage's core: damaged and crafted packages are refused before
// anything is written; sound ones are extracted entry by entry, skipping
// what cannot be written, with the progress arithmetic of the installing page.
#include <gtest/gtest.h>

#include <zlib.h>

#include <string.h>

#include <algorithm>
#include <utility>

#include "tests/native/memory_package.h"

namespace {

const ExtractFolders kFolders = {"C:\\Program Files\\Varnek 打印机", "C:\\ProgramData\\VarnekPrinter"};
const uint32_t kImageSize = 64;

using Entry = std::pair<std::string, Bytes>;  // name, stream

Bytes Data(size_t size, unsigned seed)
{
    Bytes data(size);
    unsigned x = seed;
    for (size_t i = 0; i < size; ++i) {
        x = x * 1664525u + 1013904223u;
        data[i] = (i / 100) % 2 ? static_cast<unsigned char>(x >> 24) : 'a';
    }
    return data;
}

Bytes Stream(const Bytes& data)
{
    Bytes stream;
    EXPECT_TRUE(CompressMember(data, &stream));
    return stream;
}

void Append(Bytes& file, const Bytes& part)
{
    file.insert(file.end(), part.begin(), part.end());
}

// A package laid out by hand, without the writer's checks.
Bytes RawPackage(const std::vector<Entry>& entries, const std::string& version = "1.3.0.30",
                 const Bytes& beforeTrailer = Bytes())
{
    Bytes file(kImageSize, 0xEE);
    Append(file, EncodeVersionHeader(version));
    for (const Entry& entry : entries) {
        Append(file, EncodeEntryHeader(entry.first, static_cast<uint32_t>(entry.second.size())));
        Append(file, entry.second);
    }
    Append(file, beforeTrailer);
    Append(file, EncodeTrailer(static_cast<uint32_t>(entries.size()), kImageSize));
    return file;
}

std::vector<Entry> SoundEntries()
{
    return {{"Brevlet.exe", Stream(Data(50000, 1))},
            {"VarnekSetting.ini", Stream(Data(104, 2))},
            {"STDNAMES.GPD", Stream(Data(30000, 3))}};
}

// Offsets into RawPackage(SoundEntries()).
const uint32_t kVersionField = kImageSize;
const uint32_t kFirstEntry = kImageSize + 4 + 8;

void Patch(Bytes& file, size_t offset, uint32_t value)
{
    PutU32(&file[offset], value);
}

struct Outcome {
    InstallOutcome result;
    RecordingTarget target;
};

Outcome Extract(const Bytes& file, const ExtractFolders& folders = kFolders)
{
    Outcome outcome;
    MemoryInput input(file);
    outcome.result = ExtractPackageFile(input, input.Size(), folders, NativeMachine::kX64, outcome.target);
    return outcome;
}

void ExpectRefusedUntouched(const Bytes& file, const char* what)
{
    Outcome outcome = Extract(file);
    EXPECT_EQ(outcome.result, InstallOutcome::kPackageDamaged) << what;
    EXPECT_EQ(outcome.target.creates, 0) << what;
    EXPECT_EQ(outcome.target.writes, 0) << what;
    EXPECT_TRUE(outcome.target.statuses.empty()) << what;
}

TEST(PackageExtraction, SoundPackageBaseline)
{
    Outcome outcome = Extract(RawPackage(SoundEntries()));
    EXPECT_EQ(outcome.result, InstallOutcome::kInstalled);
    EXPECT_EQ(outcome.target.files.size(), 3u);
}

TEST(PackageExtraction, RefusesDamagedTrailerAndVersionHeader)
{
    const Bytes sound = RawPackage(SoundEntries());
    const size_t countField = sound.size() - 8, offsetField = sound.size() - 4;
    struct Case {
        const char* what;
        size_t field;
        uint32_t value;
    };
    const Case cases[] = {
        {"count 0", countField, 0},
        {"count one short: entries would not end at the trailer", countField, 2},
        {"count one more than present", countField, 4},
        {"count far more than fits", countField, 0xFFFFFFFF},
        {"offset past the end", offsetField, static_cast<uint32_t>(sound.size())},
        {"offset at the trailer", offsetField, static_cast<uint32_t>(countField)},
        {"offset inside the image", offsetField, kImageSize - 4},
        {"offset one byte late", offsetField, kImageSize + 1},
        {"version length 51", kVersionField, 51},
        {"version length past the end", kVersionField, 0xFFFFFFF0},
    };
    for (const Case& c : cases) {
        Bytes file = sound;
        Patch(file, c.field, c.value);
        ExpectRefusedUntouched(file, c.what);
    }
    ExpectRefusedUntouched(Bytes(), "empty file");
    ExpectRefusedUntouched(Bytes(11, 0), "shorter than trailer and version field");
    ExpectRefusedUntouched(Bytes(12, 0), "only zeros");
    ExpectRefusedUntouched(RawPackage(SoundEntries(), std::string(51, 'v')), "version text of 51 bytes");
    EXPECT_EQ(Extract(RawPackage(SoundEntries(), std::string(50, 'v'))).result, InstallOutcome::kInstalled);
}

TEST(PackageExtraction, RefusesEntryHeadersOutsideThePackage)
{
    const Bytes sound = RawPackage(SoundEntries());
    const uint32_t firstStream = static_cast<uint32_t>(SoundEntries()[0].second.size());
    struct Case {
        const char* what;
        size_t field;
        uint32_t value;
    };
    const Case cases[] = {
        {"name length 256", kFirstEntry, 256},
        {"name length past the end", kFirstEntry, 0xFFFFFFFF},
        {"data length past the trailer", kFirstEntry + 4, 0x7FFFFFFF},
        {"data length one short: stream cut", kFirstEntry + 4, firstStream - 1},
        {"data length one long: next header shifted", kFirstEntry + 4, firstStream + 1},
    };
    for (const Case& c : cases) {
        Bytes file = sound;
        Patch(file, c.field, c.value);
        ExpectRefusedUntouched(file, c.what);
    }
    ExpectRefusedUntouched(RawPackage(SoundEntries(), "1.3.0.30", Bytes(5, 0)), "bytes between entries and trailer");
}

TEST(PackageExtraction, RefusesNamesThatAreNotPlainFileNames)
{
    for (const char* name : {"", ".", "..", "..\\..\\evil.txt", "sub\\evil.txt", "sub/evil.txt", "C:evil.txt",
                             "C:\\evil.txt", "\\\\server\\share\\evil.txt", "evil\r\n.txt", "evil.txt.", "NUL",
                             "CON.ini", "LPT1", "CON .txt", "NUL   .ini", "CONIN$", "CONOUT$.log", "COM\xb9",
                             "lpt\xb3.dll"}) {
        std::vector<Entry> entries = SoundEntries();
        entries[2].first = name;  // the last entry: the first two must not be written either
        ExpectRefusedUntouched(RawPackage(entries), name);
    }
    std::vector<Entry> entries = SoundEntries();
    entries[2].first = std::string(256, 'n');
    ExpectRefusedUntouched(RawPackage(entries), "name of 256 bytes");
}

TEST(PackageExtraction, RefusesOutputPathsOver255Characters)
{
    const std::string folder = "C:\\Program Files\\VarnekPrinter";
    const ExtractFolders folders = {folder.c_str(), "C:\\ProgramData\\VarnekPrinter"};
    const size_t fits = 255 - folder.size() - 1;
    for (size_t length : {fits, fits + 1}) {
        std::vector<Entry> entries = SoundEntries();
        entries[2].first = std::string(length, 'n');
        Outcome outcome = Extract(RawPackage(entries), folders);
        if (length == fits) {
            EXPECT_EQ(outcome.result, InstallOutcome::kInstalled);
            ASSERT_EQ(outcome.target.files.size(), 3u);
            EXPECT_EQ(outcome.target.files[2].path.size(), 255u);
        } else {
            EXPECT_EQ(outcome.result, InstallOutcome::kPackageDamaged);
            EXPECT_EQ(outcome.target.creates, 0);
        }
    }
}

TEST(PackageExtraction, RefusesDamagedStreams)
{
    const Bytes data = Data(50000, 7);
    const Bytes stream = Stream(data);

    Bytes flipped = stream;
    flipped[flipped.size() / 2] ^= 0x01;
    Bytes wrongAdler = stream;
    wrongAdler.back() ^= 0x80;
    Bytes trailing = stream;
    trailing.push_back(0);
    Bytes cut(stream.begin(), stream.end() - 1);

    // A stream that asks for a preset dictionary.
    Bytes withDictionary(compressBound(static_cast<uLong>(data.size())));
    z_stream z = {};
    ASSERT_EQ(deflateInit(&z, 6), Z_OK);
    const Bytes dictionary = Data(200, 7);
    ASSERT_EQ(deflateSetDictionary(&z, dictionary.data(), static_cast<uInt>(dictionary.size())), Z_OK);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = withDictionary.data();
    z.avail_out = static_cast<uInt>(withDictionary.size());
    ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    withDictionary.resize(z.total_out);
    deflateEnd(&z);

    // Raw deflate data without the zlib header and Adler-32.
    Bytes raw(compressBound(static_cast<uLong>(data.size())));
    z = {};
    ASSERT_EQ(deflateInit2(&z, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY), Z_OK);
    z.next_in = const_cast<Bytef*>(data.data());
    z.avail_in = static_cast<uInt>(data.size());
    z.next_out = raw.data();
    z.avail_out = static_cast<uInt>(raw.size());
    ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    raw.resize(z.total_out);
    deflateEnd(&z);

    const std::pair<const char*, Bytes> cases[] = {
        {"one flipped data byte", flipped},     {"wrong Adler-32", wrongAdler},
        {"a byte after the stream's end", trailing}, {"stream cut short", cut},
        {"preset dictionary", withDictionary},  {"raw deflate", raw},
        {"not zlib at all", Data(300, 8)},
    };
    for (const auto& c : cases) {
        std::vector<Entry> entries = SoundEntries();
        entries[2].second = c.second;
        ExpectRefusedUntouched(RawPackage(entries), c.first);
    }
}

TEST(PackageExtraction, EmptyEntryMakesAnEmptyFile)
{
    std::vector<Entry> entries = SoundEntries();
    entries.insert(entries.begin() + 1, Entry("empty.dat", Bytes()));
    Outcome outcome = Extract(RawPackage(entries));
    EXPECT_EQ(outcome.result, InstallOutcome::kInstalled);
    const RecordedFile* empty = outcome.target.Find(std::string(kFolders.installFolder) + "\\empty.dat");
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->data.empty());
    EXPECT_TRUE(empty->closed);
    EXPECT_EQ(outcome.target.files.size(), 4u);
}

TEST(PackageExtraction, SettingsFileGoesToTheDataFolder)
{
    std::vector<Entry> entries = SoundEntries();
    entries.push_back(Entry("old-VarnekSetting.ini.bak", Stream(Data(10, 4))));  // a substring match
    entries.push_back(Entry("varneksetting.ini", Stream(Data(10, 5))));          // case-sensitive
    Outcome outcome = Extract(RawPackage(entries));
    ASSERT_EQ(outcome.result, InstallOutcome::kInstalled);
    const std::string install = kFolders.installFolder, data = kFolders.dataFolder;
    EXPECT_NE(outcome.target.Find(data + "\\VarnekSetting.ini"), nullptr);
    EXPECT_NE(outcome.target.Find(data + "\\old-VarnekSetting.ini.bak"), nullptr);
    EXPECT_NE(outcome.target.Find(install + "\\varneksetting.ini"), nullptr);
    EXPECT_NE(outcome.target.Find(install + "\\Brevlet.exe"), nullptr);
}

TEST(PackageExtraction, FileInUseIsReplacedAtRestartAnyOtherWriteFailureStops)
{
    const std::vector<Entry> entries = SoundEntries();
    const Bytes file = RawPackage(entries);
    const std::string install = kFolders.installFolder;

    // An upgrade over a program still running: its new file waits beside it
    // for the restart, the others arrive, and the run says so.
    Outcome held;
    held.target.inUse.insert(install + "\\Brevlet.exe");
    MemoryInput input(file);
    held.result = ExtractPackageFile(input, input.Size(), kFolders, NativeMachine::kX64, held.target);
    EXPECT_EQ(held.result, InstallOutcome::kRestartNeeded);
    EXPECT_EQ(held.target.Find(install + "\\Brevlet.exe"), nullptr);
    const RecordedFile* beside = held.target.Find(install + "\\Brevlet.exe.new");
    ASSERT_NE(beside, nullptr);
    EXPECT_EQ(beside->data, Data(50000, 1));
    EXPECT_TRUE(beside->closed);
    EXPECT_EQ(held.target.scheduled, std::vector<std::string>{install + "\\Brevlet.exe"});
    ASSERT_NE(held.target.Find(install + "\\STDNAMES.GPD"), nullptr);
    EXPECT_EQ(held.target.Find(install + "\\STDNAMES.GPD")->data, Data(30000, 3));
    ASSERT_EQ(held.target.results.size(), 3u);
    EXPECT_EQ(held.target.results[0].second, InstallOutcome::kRestartNeeded);
    EXPECT_EQ(held.target.results[1].second, InstallOutcome::kInstalled);

    // Neither the file beside it nor the schedule may fail quietly: the old
    // file would pass for the new one.
    for (bool scheduleFails : {false, true}) {
        Outcome stuck;
        stuck.target.inUse.insert(install + "\\Brevlet.exe");
        stuck.target.refuseReplacement = !scheduleFails;
        stuck.target.refuseSchedule = scheduleFails;
        MemoryInput again(file);
        stuck.result = ExtractPackageFile(again, again.Size(), kFolders, NativeMachine::kX64, stuck.target);
        EXPECT_EQ(stuck.result, InstallOutcome::kWriteFailed) << scheduleFails;
        EXPECT_TRUE(stuck.target.scheduled.empty());
        ASSERT_EQ(stuck.target.results.size(), 1u);
        EXPECT_EQ(stuck.target.results[0].second, InstallOutcome::kWriteFailed);
    }

    // A folder of that name (or a read-only file): stops before the next entry.
    Outcome blocked;
    blocked.target.refuseCreate.insert(install + "\\Brevlet.exe");
    MemoryInput input2(file);
    blocked.result = ExtractPackageFile(input2, input2.Size(), kFolders, NativeMachine::kX64, blocked.target);
    EXPECT_EQ(blocked.result, InstallOutcome::kWriteFailed);
    EXPECT_TRUE(blocked.target.files.empty());
    EXPECT_EQ(blocked.target.statuses.size(), 1u);

    // Disk full in the middle of an entry: the part written stays closed, nothing follows.
    Outcome full;
    full.target.failWritesOf = install + "\\Brevlet.exe";
    MemoryInput input3(file);
    full.result = ExtractPackageFile(input3, input3.Size(), kFolders, NativeMachine::kX64, full.target);
    EXPECT_EQ(full.result, InstallOutcome::kWriteFailed);
    ASSERT_EQ(full.target.files.size(), 1u);
    EXPECT_EQ(full.target.files[0].data.size(), kStreamBufferSize);
    EXPECT_TRUE(full.target.files[0].closed);

    // The second attempt, once the cause is gone, installs everything.
    Outcome again;
    MemoryInput input4(file);
    again.result = ExtractPackageFile(input4, input4.Size(), kFolders, NativeMachine::kX64, again.target);
    EXPECT_EQ(again.result, InstallOutcome::kInstalled);
    EXPECT_EQ(again.target.files.size(), 3u);
}

TEST(PackageExtraction, UsersSettingsFileIsKept)
{
    const std::string data = kFolders.dataFolder, install = kFolders.installFolder;
    const Bytes file = RawPackage(SoundEntries());

    Outcome upgrade;
    upgrade.target.existing.insert(data + "\\VarnekSetting.ini");
    // Only the settings file is the user's: an existing program is replaced.
    upgrade.target.existing.insert(install + "\\Brevlet.exe");
    MemoryInput input(file);
    upgrade.result = ExtractPackageFile(input, input.Size(), kFolders, NativeMachine::kX64, upgrade.target);
    EXPECT_EQ(upgrade.result, InstallOutcome::kInstalled);
    EXPECT_EQ(upgrade.target.Find(data + "\\VarnekSetting.ini"), nullptr);
    EXPECT_NE(upgrade.target.Find(install + "\\Brevlet.exe"), nullptr);
    ASSERT_EQ(upgrade.target.results.size(), 2u);
    EXPECT_EQ(upgrade.target.kept, std::vector<std::string>{data + "\\VarnekSetting.ini"});
    EXPECT_EQ(upgrade.target.results[1].first, install + "\\STDNAMES.GPD");
    // The entry after it is read from the right place.
    ASSERT_NE(upgrade.target.Find(install + "\\STDNAMES.GPD"), nullptr);
    EXPECT_EQ(upgrade.target.Find(install + "\\STDNAMES.GPD")->data, Data(30000, 3));

    // A new installation, or a data folder without it, gets the default.
    Outcome fresh = Extract(file);
    ASSERT_NE(fresh.target.Find(data + "\\VarnekSetting.ini"), nullptr);
    EXPECT_EQ(fresh.target.Find(data + "\\VarnekSetting.ini")->data, Data(104, 2));
}

TEST(PackageExtraction, ServiceIsStoppedOnlyOnceThePackageIsSound)
{
    Outcome sound = Extract(RawPackage(SoundEntries()));
    EXPECT_EQ(sound.target.beforeWriting, 1);
    EXPECT_EQ(sound.target.createsBeforeWriting, 0);

    // A damaged package leaves the running installation alone.
    std::vector<Entry> entries = SoundEntries();
    entries[2].second[entries[2].second.size() / 2] ^= 0x01;
    Outcome damaged = Extract(RawPackage(entries));
    EXPECT_EQ(damaged.result, InstallOutcome::kPackageDamaged);
    EXPECT_EQ(damaged.target.beforeWriting, 0);
}

// One stream of zeros, compressed in pieces so the test needs no buffer of its size.
Bytes ZeroStream(uint64_t size)
{
    const Bytes zeros(1 << 20, 0);
    Bytes buffer(1 << 16), out;
    z_stream z = {};
    EXPECT_EQ(deflateInit(&z, 6), Z_OK);
    uint64_t left = size;
    int status = Z_OK;
    while (status == Z_OK) {
        if (z.avail_in == 0 && left > 0) {
            const uint64_t piece = std::min<uint64_t>(left, zeros.size());
            z.next_in = const_cast<Bytef*>(zeros.data());
            z.avail_in = static_cast<uInt>(piece);
            left -= piece;
        }
        z.next_out = buffer.data();
        z.avail_out = static_cast<uInt>(buffer.size());
        status = deflate(&z, left == 0 ? Z_FINISH : Z_NO_FLUSH);
        out.insert(out.end(), buffer.data(), buffer.data() + buffer.size() - z.avail_out);
    }
    EXPECT_EQ(status, Z_STREAM_END);
    deflateEnd(&z);
    return out;
}

TEST(PackageExtraction, RefusesPackagesPastTheBoundBeforeWriting)
{
    // 129 MiB alone is within the 256 MiB bound; twice it is not.
    const uint64_t entrySize = 129u << 20;
    const Bytes big = ZeroStream(entrySize);
    std::vector<Entry> entries = SoundEntries();
    entries.insert(entries.begin() + 1, Entry("big1.bin", big));
    const Bytes one = RawPackage(entries);
    {
        MemoryInput input(one);
        PackageLayout layout;
        InflatedSize size;
        ASSERT_TRUE(ReadPackageLayout(input, input.Size(), &layout));
        EXPECT_EQ(VerifyPackage(input, layout, kFolders, &size), InstallOutcome::kInstalled);
        EXPECT_EQ(size.installFolder, entrySize + 50000 + 30000);
        EXPECT_EQ(size.dataFolder, 104u);
    }
    entries.insert(entries.begin() + 2, Entry("big2.bin", big));
    const Bytes two = RawPackage(entries);
    Outcome outcome;
    MemoryInput input(two);
    outcome.result = ExtractPackageFile(input, input.Size(), kFolders, NativeMachine::kX64, outcome.target);
    EXPECT_EQ(outcome.result, InstallOutcome::kPackageTooLarge);
    EXPECT_EQ(outcome.target.creates, 0);
    EXPECT_TRUE(outcome.target.statuses.empty());
    // Inflating stopped within the second stream, not at its end.
    EXPECT_LT(input.bytesRead, two.size() - big.size() / 20);
}

TEST(PackageExtraction, RefusesPackagesLargerThanTheFreeSpace)
{
    const Bytes file = RawPackage(SoundEntries());
    const uint64_t install = 50000 + 30000, data = 104;
    struct Case {
        const char* what;
        uint64_t installFree, dataFree;
        InstallOutcome result;
    };
    const Case cases[] = {
        {"exactly enough on one volume", install + data, install + data, InstallOutcome::kInstalled},
        {"unknown free space", UINT64_MAX, UINT64_MAX, InstallOutcome::kInstalled},
        {"one byte short on the installation volume", install + data - 1, UINT64_MAX, InstallOutcome::kDiskFull},
        {"one byte short on the data volume", UINT64_MAX, data - 1, InstallOutcome::kDiskFull},
        {"an empty volume", 0, 0, InstallOutcome::kDiskFull},
    };
    for (const Case& c : cases) {
        Outcome outcome;
        outcome.target.freeBytes[kFolders.installFolder] = c.installFree;
        outcome.target.freeBytes[kFolders.dataFolder] = c.dataFree;
        MemoryInput input(file);
        outcome.result = ExtractPackageFile(input, input.Size(), kFolders, NativeMachine::kX64, outcome.target);
        EXPECT_EQ(outcome.result, c.result) << c.what;
        if (c.result != InstallOutcome::kInstalled) {
            EXPECT_EQ(outcome.target.creates, 0) << c.what;
        }
    }
}

// A PE image of 512 bytes with the security directory at its place, as
// Authenticode signing leaves it: the certificate table appended at the end.
struct SignedFile {
    Bytes bytes;
    size_t directory;  // file offset of the security directory entry
};

SignedFile PackageInPe(bool pe32Plus, uint32_t tableSize)
{
    const uint32_t peOffset = 0x80;
    Bytes image(512, 0);
    image[0] = 'M';
    image[1] = 'Z';
    PutU32(&image[0x3C], peOffset);
    memcpy(&image[peOffset], "PE\0\0", 4);
    const size_t optional = peOffset + 24;
    image[optional] = 0x0B;
    image[optional + 1] = pe32Plus ? 0x02 : 0x01;
    const size_t directories = optional + (pe32Plus ? 112 : 96);
    PutU32(&image[directories - 4], 16);
    std::vector<PackageEntry> entries;
    for (const Entry& entry : SoundEntries())
        entries.push_back(PackageEntry{entry.first, entry.second});
    EXPECT_TRUE(AppendPackage(image, "1.3.0.30", entries));
    if (tableSize > 0) {
        PutU32(&image[directories + 8 * 4], static_cast<uint32_t>(image.size()));
        PutU32(&image[directories + 8 * 4 + 4], tableSize);
        image.insert(image.end(), tableSize, 0x30);
    }
    return SignedFile{image, directories + 8 * 4};
}

TEST(PackageExtraction, SignedImagesEndTheirPackageAtTheCertificateTable)
{
    for (bool pe32Plus : {false, true}) {
        const SignedFile unsigned_ = PackageInPe(pe32Plus, 0);
        const SignedFile signed_ = PackageInPe(pe32Plus, 1424);
        for (const Bytes* file : {&unsigned_.bytes, &signed_.bytes}) {
            Outcome outcome = Extract(*file);
            EXPECT_EQ(outcome.result, InstallOutcome::kInstalled) << pe32Plus;
            ASSERT_EQ(outcome.target.files.size(), 3u);
            EXPECT_EQ(outcome.target.files[2].data, Data(30000, 3));
        }

        // A damaged byte inside the signed package is still refused.
        Bytes damaged = signed_.bytes;
        damaged[damaged.size() - 1424 - 8 - 100] ^= 0x01;
        ExpectRefusedUntouched(damaged, "a damaged byte in a signed package");

        const uint32_t tableOffset = GetU32(&signed_.bytes[signed_.directory]);
        struct Case {
            const char* what;
            size_t field;
            uint32_t value;
        };
        const Case cases[] = {
            {"table ends before the file does", signed_.directory + 4, 1424 - 8},
            {"table runs past the end", signed_.directory + 4, 1424 + 8},
            {"table starts past the end", signed_.directory, static_cast<uint32_t>(signed_.bytes.size() + 8)},
            {"table not 8-byte aligned", signed_.directory, tableOffset + 1},
        };
        for (const Case& c : cases) {
            Bytes file = signed_.bytes;
            Patch(file, c.field, c.value);
            ExpectRefusedUntouched(file, c.what);
        }
        Bytes truncatedHeader = signed_.bytes;
        Patch(truncatedHeader, 0x3C, static_cast<uint32_t>(truncatedHeader.size()) - 4);
        ExpectRefusedUntouched(truncatedHeader, "PE header offset at the end of the file");
    }
}

TEST(ProgressArithmetic, PositionIsTruncatedAndCapped)
{
    EXPECT_EQ(ProgressPosition(0, 989372), 0);
    EXPECT_EQ(ProgressPosition(9893, 989372), 0);   // 0.9999 %
    EXPECT_EQ(ProgressPosition(9894, 989372), 1);
    EXPECT_EQ(ProgressPosition(989371, 989372), 99);
    EXPECT_EQ(ProgressPosition(989372, 989372), 100);
    EXPECT_EQ(ProgressPosition(1958195, 989372), 100);          // the bar holds values above its range at full
    EXPECT_EQ(ProgressPosition(UINT64_MAX, 1), 100);            // no overflow of the conversion
    EXPECT_EQ(ProgressPosition(5, 0), 100);
}

TEST(ProgressArithmetic, OnePositionPerOutputBuffer)
{
    const uint32_t packageSize = 100000;
    // Highly compressible: every output buffer but the last is filled.
    const Bytes runs(40000, 'r');
    // Mixed: buffers may end early when an input chunk runs out.
    const Bytes mixed = Data(40000, 9);
    for (const Bytes* data : {&runs, &mixed}) {
        const Bytes stream = Stream(*data);
        MemoryInput input(stream);
        RecordingTarget target;
        uint64_t total = 1000;
        InflateEntry(input, static_cast<uint32_t>(stream.size()), "C:\\x\\a.bin", total, packageSize, target);
        ASSERT_EQ(target.files.size(), 1u);
        const RecordedFile& file = target.files[0];
        EXPECT_EQ(file.data, *data);
        EXPECT_EQ(total, 41000u);
        ASSERT_EQ(file.progress.size(), file.writes.size());
        uint64_t written = 1000;
        for (size_t i = 0; i < file.writes.size(); ++i) {
            EXPECT_LE(file.writes[i], kStreamBufferSize);
            written += file.writes[i];
            EXPECT_EQ(file.progress[i], ProgressPosition(written, packageSize));
        }
    }
    RecordingTarget target;
    const Bytes stream = Stream(runs);
    MemoryInput input(stream);
    uint64_t total = 0;
    InflateEntry(input, static_cast<uint32_t>(stream.size()), "C:\\x\\a.bin", total, packageSize, target);
    EXPECT_EQ(target.files[0].writes, (std::vector<uint32_t>{16384, 16384, 7232}));
    EXPECT_EQ(target.files[0].progress, (std::vector<int>{16, 32, 40}));
}

// The table's sizes against the shipped package size: the bar is full while
// entry 14 is written, about half-way through the bytes.
TEST(ProgressArithmetic, ShippedSizesReach100AtEntry14)
{
    const uint32_t sizes[17] = {78336, 317952, 14363, 6631, 104,   101376, 39936, 71,    35328,
                                5839,  10410,  16928, 264704, 21225, 193024, 233472, 618496};
    const uint32_t shippedPackageSize = 989372;
    RecordingTarget target;
    uint64_t total = 0;
    int firstFull = -1;
    for (int i = 0; i < 17; ++i) {
        const Bytes stream = Stream(Data(sizes[i], i + 1));
        MemoryInput input(stream);
        InflateEntry(input, static_cast<uint32_t>(stream.size()), ("C:\\x\\" + std::to_string(i)).c_str(), total,
                     shippedPackageSize, target);
        const std::vector<int>& progress = target.files.back().progress;
        ASSERT_FALSE(progress.empty());
        EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
        if (firstFull < 0 && progress.back() == 100)
            firstFull = i;
    }
    EXPECT_EQ(firstFull, 14);
    EXPECT_EQ(target.files[13].progress.back(), 92);  // 913203 bytes written before entry 14
    EXPECT_EQ(total, 1958195u);
}

}  // namespace
