// Reading the payload package: the layout from the trailer, checked entry
// headers, and the streaming inflation of one entry with bounded memory
// (one 16 KiB input buffer and the 32 KiB window).
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "common/install_outcome.h"
#include "package/package_format.h"

// The file that carries the package (the installer's own file), as the
// reader needs it. Implemented over Win32 handles in the installer and over
// memory or stdio natively.
class PackageInput {
public:
    // Moves to an absolute offset.
    virtual bool Seek(uint32_t offset) = 0;
    // Reads up to size bytes at the current position: the count read, 0 at
    // the end of the file, -1 on failure.
    virtual int32_t Read(void* buffer, uint32_t size) = 0;

protected:
    ~PackageInput() = default;
};

// Bytes in memory read as a package input: the installer's page pictures,
// the fuzzer's inputs.
class BufferInput final : public PackageInput {
public:
    BufferInput(const unsigned char* data, size_t size) : m_data(data), m_size(size) {}

    bool Seek(uint32_t offset) override;
    int32_t Read(void* buffer, uint32_t size) override;

private:
    const unsigned char* const m_data;
    const size_t m_size;
    size_t m_position = 0;
};

struct PackageLayout {
    uint32_t entryCount;
    uint32_t packageOffset;  // file offset of the version length field
    uint32_t firstEntry;     // file offset of the first entry header
    uint32_t trailerOffset;  // the entries end exactly here
    uint32_t packageSize;    // S: the file size minus the package offset
};

struct EntryHeader {
    uint32_t nameLength;
    uint32_t dataLength;                // C
    uint32_t dataOffset;                // file offset of the zlib stream
    char name[kMaxNameLength + 1];      // zero-terminated
};

// What the entries inflate to, by the folder they go to.
struct InflatedSize {
    uint64_t installFolder;
    uint64_t dataFolder;
};

// Where the entries go: the settings file to the data folder, every other
// entry to the installation folder.
struct ExtractFolders {
    const char* installFolder;
    const char* dataFolder;
};

// Receives the bytes an inflation produces; false stops the inflation.
class InflateSink {
public:
    virtual bool Consume(const unsigned char* data, uint32_t size) = 0;

protected:
    ~InflateSink() = default;
};

// Where the package of a file of fileSize bytes ends. In a signed image the
// certificate table (the PE security directory: a file offset and a size)
// ends the file and the package ends where the table starts; otherwise the
// package runs to the end of the file. False when a PE header names a table
// that does not end the file or is not aligned as Authenticode aligns it.
bool FindPackageEnd(PackageInput& input, uint32_t fileSize, uint32_t* packageEnd);

// Reads the trailer and the version header of a package ending at fileSize. False
// when they do not lie within the file, the entry count is 0 or larger than
// the entry headers that fit, or the version text is over 50 bytes.
bool ReadPackageLayout(PackageInput& input, uint32_t fileSize, PackageLayout* layout);

// Reads the header of the entry at position (an absolute offset) and leaves
// the input at the entry's data. False when the header, the name or the data
// would reach past the trailer, or the name is not a plain file name.
bool ReadEntryHeader(PackageInput& input, const PackageLayout& layout, uint32_t position, EntryHeader* header);

// The settings file (any name containing the name of a member the product
// table puts in the data folder) goes to the data folder.
bool IsSettingsEntry(const char* name);

// "%s\%s" of the entry's folder and its name; false when it does not fit.
bool ComposeEntryPath(char* buffer, size_t size, const ExtractFolders& folders, const char* name);

// Inflates the zlib stream of dataLength bytes at the current input
// position. The sink gets every produced chunk of at most 16 KiB. kInstalled
// when the stream ended with a correct Adler-32 exactly on its last byte;
// refused when the sink refused the bytes (what that means is the caller's);
// kWriteFailed when zlib has no memory; kPackageDamaged when the file could
// not be read, ran out, or holds corrupt data, a wrong Adler-32, a dictionary
// or bytes after the stream's end.
InstallOutcome InflateStream(PackageInput& input, uint32_t dataLength, InflateSink& sink, InstallOutcome refused);

// The integrity pass over the whole package, before anything is written:
// every header and name sound, every output path within 255 characters,
// every stream complete with a correct Adler-32 and exactly C bytes long,
// the last entry ending at the trailer. An entry with C = 0 is an empty file.
// Counts what each folder receives; stops with kPackageTooLarge as soon as
// the whole passes kMaxInflatedSize. kInstalled, kPackageDamaged or
// kPackageTooLarge.
InstallOutcome VerifyPackage(PackageInput& input, const PackageLayout& layout, const ExtractFolders& folders,
                  InflatedSize* size);
