#include "package/package_reader.h"

#include <string.h>

#include <zlib.h>

#include "common/path_text.h"
#include "common/product.h"

bool BufferInput::Seek(uint32_t offset)
{
    if (offset > m_size)
        return false;
    m_position = offset;
    return true;
}

int32_t BufferInput::Read(void* buffer, uint32_t size)
{
    const size_t left = m_size - m_position;
    const uint32_t count = size < left ? size : static_cast<uint32_t>(left);
    memcpy(buffer, m_data + m_position, count);
    m_position += count;
    return static_cast<int32_t>(count);
}

namespace {

// Reads exactly size bytes: a short read is as bad as a failed one here.
bool ReadExact(PackageInput& input, void* buffer, uint32_t size)
{
    unsigned char* p = static_cast<unsigned char*>(buffer);
    while (size > 0) {
        int32_t got = input.Read(p, size);
        if (got <= 0)
            return false;
        p += got;
        size -= static_cast<uint32_t>(got);
    }
    return true;
}

bool ReadU32(PackageInput& input, uint32_t* value)
{
    unsigned char bytes[4];
    if (!ReadExact(input, bytes, sizeof bytes))
        return false;
    *value = GetU32(bytes);
    return true;
}

// Counts the inflated bytes of the whole package and refuses any past the bound.
class BoundedCounter : public InflateSink {
public:
    bool Consume(const unsigned char*, uint32_t size) override
    {
        total += size;
        return total <= kMaxInflatedSize;
    }

    uint64_t total = 0;
};

// PE offsets: e_lfanew in the MZ header, the optional header's magic and
// where its data directories start, the security directory's index.
constexpr uint32_t kNewHeaderField = 0x3C;
constexpr uint32_t kOptionalHeader = 24;  // after "PE\0\0" and the file header
constexpr uint16_t kPe32Magic = 0x10B, kPe32PlusMagic = 0x20B;
constexpr uint32_t kPe32Directories = 96, kPe32PlusDirectories = 112;
constexpr uint32_t kSecurityDirectory = 4;
constexpr uint32_t kPeHeadersSpan = kOptionalHeader + kPe32PlusDirectories + 16 * 8;

}  // namespace

bool FindPackageEnd(PackageInput& input, uint32_t fileSize, uint32_t* packageEnd)
{
    *packageEnd = fileSize;
    unsigned char mz[2];
    uint32_t peOffset;
    if (!input.Seek(0) || !ReadExact(input, mz, sizeof mz) || mz[0] != 'M' || mz[1] != 'Z')
        return true;  // no executable image: a bare package (tools, tests)
    if (!input.Seek(kNewHeaderField) || !ReadU32(input, &peOffset) || fileSize < kPeHeadersSpan ||
        peOffset > fileSize - kPeHeadersSpan)
        return false;
    unsigned char signature[4], magic[2];
    if (!input.Seek(peOffset) || !ReadExact(input, signature, sizeof signature) ||
        memcmp(signature, "PE\0\0", 4) != 0)
        return false;
    if (!input.Seek(peOffset + kOptionalHeader) || !ReadExact(input, magic, sizeof magic))
        return false;
    const uint16_t kind = static_cast<uint16_t>(magic[0] | magic[1] << 8);
    if (kind != kPe32Magic && kind != kPe32PlusMagic)
        return false;
    const uint32_t directories =
        peOffset + kOptionalHeader + (kind == kPe32Magic ? kPe32Directories : kPe32PlusDirectories);
    uint32_t count, tableOffset, tableSize;
    // NumberOfRvaAndSizes is the optional header's last field before the directories.
    if (!input.Seek(directories - 4) || !ReadU32(input, &count))
        return false;
    if (count <= kSecurityDirectory)
        return true;
    if (!input.Seek(directories + 8 * kSecurityDirectory) || !ReadU32(input, &tableOffset) ||
        !ReadU32(input, &tableSize))
        return false;
    if (tableOffset == 0 && tableSize == 0)
        return true;
    if (tableOffset > fileSize || tableSize != fileSize - tableOffset || tableOffset % kCertificateAlignment != 0)
        return false;
    *packageEnd = tableOffset;
    return true;
}

bool ReadPackageLayout(PackageInput& input, uint32_t fileSize, PackageLayout* layout)
{
    if (fileSize < kTrailerSize + 4)
        return false;
    const uint32_t trailerOffset = fileSize - kTrailerSize;
    uint32_t count, offset, versionLength;
    if (!input.Seek(trailerOffset) || !ReadU32(input, &count) || !ReadU32(input, &offset))
        return false;
    if (count == 0 || offset > trailerOffset - 4)
        return false;
    if (!input.Seek(offset) || !ReadU32(input, &versionLength))
        return false;
    if (versionLength > kMaxVersionLength || versionLength > trailerOffset - offset - 4)
        return false;
    const uint32_t firstEntry = offset + 4 + versionLength;
    if (count > (trailerOffset - firstEntry) / kEntryHeaderSize)
        return false;
    layout->entryCount = count;
    layout->packageOffset = offset;
    layout->firstEntry = firstEntry;
    layout->trailerOffset = trailerOffset;
    layout->packageSize = fileSize - offset;
    return true;
}

bool ReadEntryHeader(PackageInput& input, const PackageLayout& layout, uint32_t position, EntryHeader* header)
{
    const uint32_t end = layout.trailerOffset;
    if (position > end || end - position < kEntryHeaderSize)
        return false;
    if (!input.Seek(position) || !ReadU32(input, &header->nameLength) || !ReadU32(input, &header->dataLength))
        return false;
    const uint32_t nameOffset = position + kEntryHeaderSize;
    if (header->nameLength > kMaxNameLength || header->nameLength > end - nameOffset)
        return false;
    const uint32_t dataOffset = nameOffset + header->nameLength;
    if (header->dataLength > end - dataOffset)
        return false;
    memset(header->name, 0, sizeof header->name);
    if (!ReadExact(input, header->name, header->nameLength))
        return false;
    header->dataOffset = dataOffset;
    return IsPlainFileName(header->name, header->nameLength);
}

bool IsSettingsEntry(const char* name)
{
    for (const ProductMember& member : kProductMembers) {
        if (member.destination == Destination::kDataFolder && strstr(name, member.name))
            return true;
    }
    return false;
}

bool ComposeEntryPath(char* buffer, size_t size, const ExtractFolders& folders, const char* name)
{
    const char* folder = IsSettingsEntry(name) ? folders.dataFolder : folders.installFolder;
    return ComposePath(buffer, size, "%s\\%s", folder, name);
}

namespace {

// zlib's inflateBack() decodes raw deflate data straight into its window and
// hands each filled window to the output function: about 10 KB less code than
// inflate(), which also keeps a second copy of the window logic. The zlib
// wrapper (RFC 1950) around the deflate data is read here.
struct BackInflation {
    PackageInput& input;
    uint32_t remaining;  // bytes of the entry's data not read yet
    InflateSink& sink;
    uLong adler;
    bool sinkRefused;
    unsigned char in[kStreamBufferSize];
};

// Unreadable input and input that ends early both give 0: either way the
// stream is damaged.
unsigned PullInput(void* context, z_const unsigned char** next)
{
    BackInflation& inflation = *static_cast<BackInflation*>(context);
    *next = inflation.in;
    if (inflation.remaining == 0)
        return 0;
    const uint32_t chunk = inflation.remaining < kStreamBufferSize ? inflation.remaining : kStreamBufferSize;
    const int32_t got = inflation.input.Read(inflation.in, chunk);
    if (got <= 0)
        return 0;
    inflation.remaining -= static_cast<uint32_t>(got);
    return static_cast<unsigned>(got);
}

// The sink gets chunks of at most kStreamBufferSize, as the progress bar and
// the writes are measured in them; a window holds two.
int PushOutput(void* context, unsigned char* data, unsigned length)
{
    BackInflation& inflation = *static_cast<BackInflation*>(context);
    inflation.adler = adler32(inflation.adler, data, length);
    while (length > 0) {
        const unsigned chunk = length < kStreamBufferSize ? length : kStreamBufferSize;
        if (!inflation.sink.Consume(data, chunk)) {
            inflation.sinkRefused = true;
            return 1;
        }
        data += chunk;
        length -= chunk;
    }
    return 0;
}

// Takes count bytes from what the stream left unread, pulling more as needed.
bool TakeBytes(BackInflation& inflation, z_stream& stream, unsigned char* bytes, unsigned count)
{
    for (unsigned i = 0; i < count; ++i) {
        if (stream.avail_in == 0) {
            stream.avail_in = PullInput(&inflation, &stream.next_in);
            if (stream.avail_in == 0)
                return false;
        }
        bytes[i] = *stream.next_in++;
        --stream.avail_in;
    }
    return true;
}

// The two header bytes: deflate with at most a 32 KiB window, a correct
// check value and no preset dictionary (the format has none).
bool IsZlibHeader(const unsigned char header[2])
{
    return (header[0] & 0x0f) == Z_DEFLATED && (header[0] >> 4) <= MAX_WBITS - 8 &&
           (header[0] * 256u + header[1]) % 31 == 0 && (header[1] & 0x20) == 0;
}

InstallOutcome InflateBody(BackInflation& inflation, z_stream& stream, InstallOutcome refused)
{
    unsigned char header[2];
    if (!TakeBytes(inflation, stream, header, sizeof header) || !IsZlibHeader(header))
        return InstallOutcome::kPackageDamaged;
    const int status = inflateBack(&stream, PullInput, &inflation, PushOutput, &inflation);
    // No memory for the inflation: the entry cannot be written.
    if (status == Z_MEM_ERROR)
        return InstallOutcome::kWriteFailed;
    if (inflation.sinkRefused)
        return refused;
    unsigned char trailer[4];
    if (status != Z_STREAM_END || !TakeBytes(inflation, stream, trailer, sizeof trailer))
        return InstallOutcome::kPackageDamaged;
    const uLong adler = static_cast<uLong>(trailer[0]) << 24 | static_cast<uLong>(trailer[1]) << 16 |
                        static_cast<uLong>(trailer[2]) << 8 | trailer[3];
    return adler == inflation.adler && inflation.remaining == 0 && stream.avail_in == 0
               ? InstallOutcome::kInstalled
               : InstallOutcome::kPackageDamaged;
}

}  // namespace

InstallOutcome InflateStream(PackageInput& input, uint32_t dataLength, InflateSink& sink, InstallOutcome refused)
{
    BackInflation inflation{input, dataLength, sink, adler32(0, Z_NULL, 0), false, {}};
    unsigned char window[1u << MAX_WBITS];
    z_stream stream = {};
    if (inflateBackInit(&stream, MAX_WBITS, window) != Z_OK)
        return InstallOutcome::kWriteFailed;
    const InstallOutcome result = InflateBody(inflation, stream, refused);
    inflateBackEnd(&stream);
    return result;
}

InstallOutcome VerifyPackage(PackageInput& input, const PackageLayout& layout, const ExtractFolders& folders,
                             InflatedSize* size)
{
    *size = InflatedSize{0, 0};
    BoundedCounter counter;
    uint32_t position = layout.firstEntry;
    for (uint32_t i = 0; i < layout.entryCount; ++i) {
        EntryHeader header;
        char path[kPathBufferSize];
        if (!ReadEntryHeader(input, layout, position, &header) ||
            !ComposeEntryPath(path, sizeof path, folders, header.name))
            return InstallOutcome::kPackageDamaged;
        const uint64_t before = counter.total;
        if (header.dataLength > 0) {
            const InstallOutcome result =
                InflateStream(input, header.dataLength, counter, InstallOutcome::kPackageTooLarge);
            if (result == InstallOutcome::kPackageTooLarge)
                return result;
            if (result != InstallOutcome::kInstalled)
                return InstallOutcome::kPackageDamaged;
        }
        uint64_t& folderTotal = IsSettingsEntry(header.name) ? size->dataFolder : size->installFolder;
        folderTotal += counter.total - before;
        position = header.dataOffset + header.dataLength;
    }
    return position == layout.trailerOffset ? InstallOutcome::kInstalled : InstallOutcome::kPackageDamaged;
}
