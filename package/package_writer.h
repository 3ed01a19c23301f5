// Writing the payload package (native tools and tests only; the installer
// only reads it).
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

struct PackageEntry {
    std::string name;
    Bytes stream;  // one zlib stream holding the whole file
};

// zlib's one-shot compression at the default level (6), so the stream
// begins with 78 9C. False when zlib fails.
bool CompressMember(const Bytes& data, Bytes* stream);

// The pieces of the format, for writers that stream large entries.
Bytes EncodeVersionHeader(const std::string& version);
Bytes EncodeEntryHeader(const std::string& name, uint32_t dataLength);
Bytes EncodeTrailer(uint32_t entryCount, uint32_t packageOffset);

// Appends the package after the image already in file, preceded by the up
// to 7 zero bytes that make the whole file a multiple of 8 bytes long. False, with file unchanged, when the version text is over
// 50 bytes, a name is not a plain file name, there are no entries, or the
// result would not fit the format's 32-bit offsets.
bool AppendPackage(Bytes& file, const std::string& version, const std::vector<PackageEntry>& entries);
