#include "payload/format/package_reader.h"

#include <string.h>

#include "common/path_text.h"

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
    return strstr(name, kSettingsFileName) != nullptr;
}

bool ComposeEntryPath(char* buffer, size_t size, const ExtractFolders& folders, const char* name)
{
    const char* folder = IsSettingsEntry(name) ? folders.dataFolder : folders.installFolder;
    return ComposePath(buffer, size, "%s\\%s", folder, name);
}

InstallOutcome InflateStream(z_stream& stream, PackageInput& input, uint32_t dataLength, InflateSink& sink,
                             InstallOutcome refused)
{
    unsigned char in[kStreamBufferSize];
    unsigned char out[kStreamBufferSize];
    uint32_t remaining = dataLength;
    while (remaining > 0) {
        const uint32_t chunk = remaining < kStreamBufferSize ? remaining : kStreamBufferSize;
        const int32_t got = input.Read(in, chunk);
        // Unreadable, or ending before the stream does.
        if (got <= 0)
            return InstallOutcome::kPackageDamaged;
        remaining -= static_cast<uint32_t>(got);
        stream.next_in = in;
        stream.avail_in = static_cast<uInt>(got);
        do {
            stream.next_out = out;
            stream.avail_out = kStreamBufferSize;
            const int status = inflate(&stream, Z_NO_FLUSH);
            // No memory for the inflation: the entry cannot be written.
            if (status == Z_MEM_ERROR)
                return InstallOutcome::kWriteFailed;
            // Z_NEED_DICT counts as corrupt data: the format has no dictionaries.
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
                return InstallOutcome::kPackageDamaged;
            const uint32_t produced = kStreamBufferSize - stream.avail_out;
            if (produced > 0 && !sink.Consume(out, produced))
                return refused;
            if (status == Z_STREAM_END)
                return remaining == 0 && stream.avail_in == 0 ? InstallOutcome::kInstalled
                                                              : InstallOutcome::kPackageDamaged;
        } while (stream.avail_out == 0);
    }
    return InstallOutcome::kPackageDamaged;
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
            z_stream stream = {};
            if (inflateInit(&stream) != Z_OK)
                return InstallOutcome::kPackageDamaged;
            const InstallOutcome result =
                InflateStream(stream, input, header.dataLength, counter, InstallOutcome::kPackageTooLarge);
            inflateEnd(&stream);
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
