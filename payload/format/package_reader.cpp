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

class DiscardSink : public InflateSink {
public:
    bool Consume(const unsigned char*, uint32_t) override { return true; }
};

}  // namespace

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

bool ComposeEntryPath(char* buffer, size_t size, const ExtractFolders& folders, const char* name)
{
    const char* folder = strstr(name, kSettingsFileName) ? folders.dataFolder : folders.installFolder;
    return ComposePath(buffer, size, "%s\\%s", folder, name);
}

StreamResult InflateStream(z_stream& stream, PackageInput& input, uint32_t dataLength, InflateSink& sink)
{
    unsigned char in[kStreamBufferSize];
    unsigned char out[kStreamBufferSize];
    uint32_t remaining = dataLength;
    while (remaining > 0) {
        const uint32_t chunk = remaining < kStreamBufferSize ? remaining : kStreamBufferSize;
        const int32_t got = input.Read(in, chunk);
        if (got < 0)
            return StreamResult::kReadFailed;
        if (got == 0)
            return StreamResult::kTruncated;
        remaining -= static_cast<uint32_t>(got);
        stream.next_in = in;
        stream.avail_in = static_cast<uInt>(got);
        do {
            stream.next_out = out;
            stream.avail_out = kStreamBufferSize;
            const int status = inflate(&stream, Z_NO_FLUSH);
            if (status == Z_MEM_ERROR)
                return StreamResult::kMemoryError;
            // Z_NEED_DICT counts as corrupt data: the format has no dictionaries.
            if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR)
                return StreamResult::kDataError;
            const uint32_t produced = kStreamBufferSize - stream.avail_out;
            if (produced > 0 && !sink.Consume(out, produced))
                return StreamResult::kSinkFailed;
            if (status == Z_STREAM_END)
                return remaining == 0 && stream.avail_in == 0 ? StreamResult::kComplete
                                                              : StreamResult::kTrailingData;
        } while (stream.avail_out == 0);
    }
    return StreamResult::kTruncated;
}

bool VerifyPackage(PackageInput& input, const PackageLayout& layout, const ExtractFolders& folders)
{
    uint32_t position = layout.firstEntry;
    for (uint32_t i = 0; i < layout.entryCount; ++i) {
        EntryHeader header;
        char path[kPathBufferSize];
        if (!ReadEntryHeader(input, layout, position, &header) ||
            !ComposeEntryPath(path, sizeof path, folders, header.name))
            return false;
        if (header.dataLength > 0) {
            z_stream stream = {};
            if (inflateInit(&stream) != Z_OK)
                return false;
            DiscardSink discard;
            const StreamResult result = InflateStream(stream, input, header.dataLength, discard);
            inflateEnd(&stream);
            if (result != StreamResult::kComplete)
                return false;
        }
        position = header.dataOffset + header.dataLength;
    }
    return position == layout.trailerOffset;
}
