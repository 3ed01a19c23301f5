#include "package/package_writer.h"

#include <zlib.h>

#include "package/package_format.h"

namespace {

void AppendU32(Bytes& out, uint32_t value)
{
    unsigned char bytes[4];
    PutU32(bytes, value);
    out.insert(out.end(), bytes, bytes + 4);
}

}  // namespace

bool CompressMember(const Bytes& data, Bytes* stream)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    stream->resize(size);
    if (compress(stream->data(), &size, data.data(), static_cast<uLong>(data.size())) != Z_OK)
        return false;
    stream->resize(size);
    return true;
}

Bytes EncodeVersionHeader(const std::string& version)
{
    Bytes out;
    AppendU32(out, static_cast<uint32_t>(version.size()));
    out.insert(out.end(), version.begin(), version.end());
    return out;
}

Bytes EncodeEntryHeader(const std::string& name, uint32_t dataLength)
{
    Bytes out;
    AppendU32(out, static_cast<uint32_t>(name.size()));
    AppendU32(out, dataLength);
    out.insert(out.end(), name.begin(), name.end());
    return out;
}

Bytes EncodeTrailer(uint32_t entryCount, uint32_t packageOffset)
{
    Bytes out;
    AppendU32(out, entryCount);
    AppendU32(out, packageOffset);
    return out;
}

bool AppendPackage(Bytes& file, const std::string& version, const std::vector<PackageEntry>& entries)
{
    if (version.size() > kMaxVersionLength || entries.empty())
        return false;
    uint64_t total = file.size() + 4 + version.size() + kTrailerSize;
    for (const PackageEntry& entry : entries) {
        if (!IsPlainFileName(entry.name.data(), entry.name.size()))
            return false;
        total += kEntryHeaderSize + entry.name.size() + entry.stream.size();
    }

    // Zeros before the package make the file a multiple of 8 bytes, so that
    // signing appends its certificate table right after the trailer, with no
    // alignment padding between them.
    const uint64_t padding = (kCertificateAlignment - total % kCertificateAlignment) % kCertificateAlignment;
    if (total + padding > UINT32_MAX)
        return false;
    file.insert(file.end(), padding, 0);
    const uint32_t offset = static_cast<uint32_t>(file.size());
    Bytes header = EncodeVersionHeader(version);
    file.insert(file.end(), header.begin(), header.end());
    for (const PackageEntry& entry : entries) {
        header = EncodeEntryHeader(entry.name, static_cast<uint32_t>(entry.stream.size()));
        file.insert(file.end(), header.begin(), header.end());
        file.insert(file.end(), entry.stream.begin(), entry.stream.end());
    }
    header = EncodeTrailer(static_cast<uint32_t>(entries.size()), offset);
    file.insert(file.end(), header.begin(), header.end());
    return true;
}
